#pragma once

#include <functional>
#include <string>
#include <vector>

#include "device/PageFetch.h"

// The body of "/utility_use.htm" of the current device (at most 8 tries);
// shows "Connection Fail" once when no good page came, and returns the body anyway.
std::string FetchStatusPage();

// The value after the first occurrence of key, up to the terminator "\";\r\n".
std::string ExtractPageValue(const std::string& page, const std::string& key);

// The names held by the option entries of a list-valued setting, decoded.
std::vector<std::string> ParseOptionValues(const std::string& value);

// UTF-8 bytes of a folder name to ANSI bytes.
std::string DecodeUtf8Text(const std::string& bytes);

// The fetch behind FetchStatusPage, replaceable so that its retries can be
// exercised without an appliance; an empty function restores FetchPage.
using StatusPageFetcher = std::function<PageResponse(const std::string& host, const std::string& user,
                                                     const std::string& password, const std::string& path)>;
void SetStatusPageFetcher(StatusPageFetcher fetcher);
