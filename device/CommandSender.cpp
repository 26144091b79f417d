#include "device/CommandSender.h"

#include "app/CurrentDevice.h"
#include "app/Notifier.h"
#include "device/CommandExchange.h"
#include "device/ManagementPages.h"
#include "platform/Clock.h"

namespace {

constexpr int TimeoutAfterCommandMs = 1000;
constexpr int MostSends = 15;

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

bool FromAnFtpPage(const std::string& page) { return page == "ftp.htm" || page == "/ftp.htm" || page == "ftp_mod.htm"; }

// The appliance sends a refused command to the failure page named in its URL.
bool EndedOnFailurePage(const CommandResult& result)
{
    const std::string path = result.lastUrl.substr(0, result.lastUrl.find('?'));
    const std::string page = path.substr(path.rfind('/') + 1);
    return page == "fail.htm" || Contains(result.replyHeader, "fail.htm");
}

} // namespace

CommandSender::CommandSender(CommandTransport& transport, CommandSenderWindows& windows)
    : transport(transport), windows(windows)
{
}

int CommandSender::SendDeviceCommand(const std::string& url, const std::string& page, int tabIndex,
                                     const std::string& caption)
{
    switch (Send(url, page, tabIndex, caption)) {
    case Outcome::FtpRefused: return 0;
    case Outcome::Unreachable: return tabIndex;
    case Outcome::Done: break;
    }
    return 1;
}

CommandSender::Outcome CommandSender::Send(const std::string& url, const std::string& page, int tabIndex,
                                           const std::string& caption)
{
    const std::string address = CurrentDevice.Address;
    const std::string user = CurrentDevice.UserName;
    const std::string password = CurrentDevice.Password;
    const std::string referer = "http://" + address + "/" + page;

    if (address.empty()) {
        NoticeLocalized("IP Address Error!", "Action", MessageIcon::Error);
        return Outcome::Done;
    }

    const CommandResult result = transport.CommandExchange(url, user, password, referer);
    // An error after a redirect answer still means the appliance took the
    // command; endless redirects do not.
    const bool commandFailed = result.failed && (result.replyStatus != 302 || result.gaveUpOnRedirects);

    transport.SetTimeoutMs(TimeoutAfterCommandMs);
    const bool connected = transport.ProbeConnection(address);

    // After an address change the appliance is expected to be gone from the old one.
    if (!connected && page != "if_cgi.htm") {
        NoticeLocalized("Connection Fail", "Connect", MessageIcon::Error);
        return Outcome::Unreachable;
    }

    if (page == "if_cgi.htm") {
        if (windows.AutomaticIPChosen()) {
            NoticeLocalized("Automatic IP, re-scan it", "IP Infomation", MessageIcon::Question);
            windows.HideManagementWindow();
            windows.ShowDiscoveryAndSearch();
        } else {
            CurrentDevice.Address = windows.IPAddressText();
            NoticeLocalized("IP has been change, reconnect it success", "IP Infomation", MessageIcon::Question);
        }
        return Outcome::Done;
    }
    if (page == "ftp.htm") {
        if (!Contains(url, "ftps_user_enabled") && (commandFailed || Contains(result.replyHeader, "fail.htm"))) {
            SleepMs(CurrentDevice.CommandPauseMs);
            return Outcome::FtpRefused;
        }
    } else if (page == "maintain.htm") {
        return Outcome::Done;
    } else if (page == "sys_auth.htm") {
        CurrentDevice.Password = windows.NewPasswordText();
    }

    SleepMs(CurrentDevice.CommandPauseMs);
    if (IsPageNumber(tabIndex))
        windows.RefreshPage(tabIndex);
    if (!caption.empty() && !FromAnFtpPage(page) && EndedOnFailurePage(result))
        NoticeLocalized("The device refused the change.", caption, MessageIcon::Information);
    return Outcome::Done;
}

void CommandSender::SendCommand(const Command& command, const std::string& caption)
{
    if (command.mode == SendingMode::Once)
        SendDeviceCommand(command.url, command.page, windows.ActiveTabIndex(), caption);
    else
        SendDeviceCommandWithRetry(command.url, command.page, command.showOperation, caption);
}

void CommandSender::SendDeviceCommandWithRetry(const std::string& url, const std::string& page,
                                               std::optional<int> showOperation, const std::string& caption)
{
    // Only a refused FTP command is sent again; a vanished appliance was
    // told once and is not asked again, whichever page is in front.
    int sends = 0;
    Outcome outcome = Outcome::FtpRefused;
    do {
        outcome = Send(url, page, windows.ActiveTabIndex(), caption);
        ++sends;
    } while (outcome == Outcome::FtpRefused && sends < MostSends);

    if (outcome == Outcome::FtpRefused && showOperation && IsPageNumber(*showOperation))
        windows.RefreshPage(*showOperation);
}
