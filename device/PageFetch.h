#pragma once

#include <cstdint>
#include <string>

// The result of one page fetch. status is the HTTP status code, 0 when
// nothing usable arrived, 1 when a page arrived without a readable status.
struct PageResponse {
    std::string header;
    std::string body;
    std::int32_t status = 0;
};

struct RawPage {
    std::string text;
    int completed = -1; // 1: the receive loop ran to its end; -1: stopped early (text empty)
};

// One authenticated HTTP/1.1 GET on port 80, read until the appliance closes.
PageResponse FetchPage(const std::string& host, const std::string& user, const std::string& password,
                       const std::string& path);
RawPage ReceiveRawPage(const std::string& host, const std::string& user, const std::string& password,
                       const std::string& path);
PageResponse SplitPageResponse(const std::string& text, int completed);
// The same split, reusing the text's storage for the body.
PageResponse SplitPageResponse(std::string&& text, int completed);
