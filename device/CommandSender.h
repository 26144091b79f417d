#pragma once

#include <optional>
#include <string>

#include "device/Command.h"

class CommandTransport;

// What the command sender needs of the windows; the management window
// implements it, tests record it.
class CommandSenderWindows {
public:
    virtual ~CommandSenderWindows() = default;
    virtual int ActiveTabIndex() = 0;                // selected page number, hidden pages counted
    virtual void RefreshPage(int pageNumber) = 0;    // runs TabSheet<n+1>Show; other numbers do nothing
    virtual std::string NewPasswordText() = 0;       // the Status tab's PassEdit
    virtual bool AutomaticIPChosen() = 0;            // the IP tab's AutoIPRB
    virtual std::string IPAddressText() = 0;         // the IP tab's IPAddressEdit
    virtual void HideManagementWindow() = 0;
    virtual void ShowDiscoveryAndSearch() = 0;       // discovery window shown, new search started
};

class CommandSender {
public:
    CommandSender(CommandTransport& transport, CommandSenderWindows& windows);

    // 1 done, 0 FTP command failed, tabIndex when the appliance stopped answering.
    // A command the appliance refused (it answered with its failure page) is
    // told after the refresh, under the caption of the group or page that
    // sent it; the FTP pages resend theirs instead.
    int SendDeviceCommand(const std::string& url, const std::string& page, int tabIndex,
                          const std::string& caption = {});
    // Up to 15 sends while the result is 0; then showOperation's page is refreshed once.
    void SendDeviceCommandWithRetry(const std::string& url, const std::string& page,
                                    std::optional<int> showOperation, const std::string& caption = {});

    // Sends a window's command as its mode says, for the page in front.
    void SendCommand(const Command& command, const std::string& caption);

private:
    enum class Outcome { Done, FtpRefused, Unreachable };
    Outcome Send(const std::string& url, const std::string& page, int tabIndex, const std::string& caption);

    CommandTransport& transport;
    CommandSenderWindows& windows;
};
