#pragma once

#include <optional>
#include <string>

#include "app/Notifier.h"

// What a tab's button logic hands back to its window: a message box to show,
// or a command URL to send.

struct Notice {
    std::string text;            // English, looked up when shown...
    bool textLocalized = false;  // ...unless it was composed from looked-up pieces
    std::string caption;         // English
    MessageIcon icon = MessageIcon::Information;

    bool operator==(const Notice&) const = default;
};

// Shows the notice through the installed notifier, localizing what is still English.
void ShowNotice(const Notice& notice);

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
