#pragma once

#include <functional>
#include <string>
#include <vector>

#include "device/PageFetch.h"
#include "device/StatusPage.h"
#include "platform/Clock.h"

class FolderListLogic;

// The outcome of one login attempt against the status page.
enum class LoginResult { Success = 0, BadCredentials = 1, OtherStatus = 2, NoAnswer = 3 };

// What a login needs from the network and the clock; tests count and script the calls.
struct LoginSeams {
    std::function<PageResponse(const std::string& host, const std::string& user, const std::string& password,
                               const std::string& path)>
        fetch = FetchPage;
    std::function<void(int milliseconds)> sleep = SleepMs;
};

inline constexpr const char* LoginPagePath = "/utility_use.htm";
inline constexpr int LoginFetchLimit = 8;
inline constexpr int LoginTryLimit = 8;
inline constexpr int LoginFetchPauseMs = 20;
inline constexpr int ManagementOpenPauseMs = 50;
inline constexpr int FolderListReadLimit = 8;

// The answer to one status page fetch, classified.
LoginResult ClassifyLoginAnswer(const PageResponse& answer);

// Stores the typed credentials in CurrentDevice unchanged, then fetches the
// status page up to 8 times while nothing at all came back.
LoginResult TryLogin(const std::string& userText, const std::string& passwordText, const LoginSeams& seams = {});

// Repeats TryLogin up to 8 times while the appliance answered but did not let us in.
LoginResult RunLogin(const std::string& userText, const std::string& passwordText, const LoginSeams& seams = {});

// The folders that the appliance opens to everyone, read from its status page
// (up to 8 reads while the page stays empty). Empty when nothing readable came.
std::vector<std::string> ReadPublicFolders(const std::function<std::string()>& fetchStatusPage = FetchStatusPage);

// Replaces the entries of the network-drive window's folder list with the public folders.
void FillFolderList(FolderListLogic& list, const std::function<std::string()>& fetchStatusPage = FetchStatusPage);
