#pragma once

#include <optional>
#include <string>

// A command URL that a window's logic hands back to its window for sending.

enum class SendingMode {
    Once,      // one SendDeviceCommand, result ignored
    WithRetry, // SendDeviceCommandWithRetry
};

struct Command {
    std::string url;
    std::string page;
    SendingMode mode = SendingMode::Once;
    std::optional<int> showOperation; // page refreshed after the last failed retry

    bool operator==(const Command&) const = default;
};

// "http://" address "/" script "?redirect=" page "&failure=fail.htm&type=" type, the prefix of every command.
std::string CommandUrlPrefix(const std::string& address, const std::string& script, const std::string& redirect,
                             const std::string& type);
