#include "device/CommandSender.h"

#include <gtest/gtest.h>

#include <deque>

#include "app/CurrentDevice.h"
#include "device/CommandExchange.h"
#include "platform/Clock.h"
#include "support/RecordingCommandWindows.h"
#include "support/RecordingNotifier.h"

namespace {

// One log for the transport and the windows, so the order of what the sender does is visible.
using EventLog = RecordingCommandWindows::EventLog;

class ScriptedTransport final : public CommandTransport {
public:
    explicit ScriptedTransport(EventLog& log) : log(log) {}

    CommandResult CommandExchange(const std::string& url, const std::string& user, const std::string& password,
                                  const std::string& referer) override
    {
        log.push_back("exchange " + url);
        exchanges.push_back({url, user, password, referer});
        if (answers.empty())
            return defaultAnswer;
        CommandResult answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void SetTimeoutMs(std::optional<int> milliseconds) override
    {
        log.push_back("timeout " + (milliseconds ? std::to_string(*milliseconds) : std::string("default")));
    }
    bool ProbeConnection(const std::string& address) override
    {
        log.push_back("probe " + address);
        return reachable;
    }

    struct Exchange {
        std::string url, user, password, referer;
    };
    EventLog& log;
    std::vector<Exchange> exchanges;
    std::deque<CommandResult> answers;
    CommandResult defaultAnswer{false, 200, "HTTP/1.0 200 OK\r\n\r\n", false, ""};
    bool reachable = true;
};

const std::string Nas = "http://192.168.1.20/";
const CommandResult Redirected{false, 200, "HTTP/1.0 200 OK\r\nContent-type: text/html\r\n\r\n", false, ""};
const CommandResult RedirectedToFail{false, 200, "HTTP/1.0 200 OK\r\nSet-Cookie: a=b; path=/fail.htm\r\n\r\n", false, ""};
const CommandResult FailedAfterRedirect{true, 302, "HTTP/1.0 302 Found\r\nLocation: ftp.htm\r\n\r\n", false, ""};
const CommandResult FailedAfterRedirectToFail{true, 302, "HTTP/1.0 302 Found\r\nLocation: fail.htm\r\n\r\n", false, ""};
const CommandResult GaveUpOnRedirects{true, 302, "HTTP/1.0 302 Found\r\nLocation: ftp.htm\r\n\r\n", true, ""};
const CommandResult NoConnection{true, 0, "", false, ""};
const CommandResult Refused401{false, 401, "HTTP/1.0 401 Unauthorized\r\n\r\n", false, ""};

class CommandSenderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CurrentDevice = {};
        CurrentDevice.Address = "192.168.1.20";
        CurrentDevice.UserName = "admin";
        CurrentDevice.Password = "admin";
    }
    void TearDown() override { CurrentDevice = {}; }

    // What the sender did besides talking to the transport.
    EventLog windowEvents() const
    {
        EventLog events;
        for (const std::string& event : log)
            if (event.rfind("exchange", 0) != 0 && event.rfind("timeout", 0) != 0 && event.rfind("probe", 0) != 0)
                events.push_back(event);
        return events;
    }
    std::size_t count(const std::string& prefix) const
    {
        std::size_t n = 0;
        for (const std::string& event : log)
            n += event.rfind(prefix, 0) == 0;
        return n;
    }

    EventLog log;
    RecordingNotifier notifier;
    ScriptedTransport transport{log};
    RecordingCommandWindows windows{log, notifier};
    CommandSender sender{transport, windows};
};

struct Box {
    std::string text, caption;
    MessageIcon icon;
};

struct FollowUpCase {
    const char* what;
    std::string url;
    std::string page;
    int tabIndex;
    CommandResult answer;
    bool reachable;
    bool automaticIP;
    int result;
    EventLog windowEvents;
    std::vector<Box> boxes;
    std::string addressAfter = "192.168.1.20";
    std::string passwordAfter = "admin";
};

const Box ConnectionFail{"Connection Fail", "Connect", MessageIcon::Error};
const Box AutomaticIP{"Automatic IP, re-scan it", "IP Infomation", MessageIcon::Question};
const Box AddressChanged{"IP has been change, reconnect it success", "IP Infomation", MessageIcon::Question};

TEST_F(CommandSenderTest, FollowsUpByPageName)
{
    const std::string ftpAdd = Nas + "nas.cgi?redirect=ftp.htm&failure=fail.htm&type=ftps_user_add&user=u1";
    const std::string ftpEnable = Nas + "nas.cgi?redirect=ftp.htm&failure=fail.htm&type=ftps_user_enabled&user=u1";
    const std::string smb = Nas + "nas.cgi?redirect=smb.htm&failure=fail.htm&type=nas_apply";
    const std::string ip = Nas + "if.cgi?redirect=if_cgi.htm&failure=fail.htm&type=wan_fixip_apply";
    const FollowUpCase cases[] = {
        {"common, status tab", smb, "id.htm", 0, Redirected, true, false, 1, {"refresh 0"}, {}},
        {"common, file server tab", smb, "smb.htm", 3, Redirected, true, false, 1, {"refresh 3"}, {}},
        {"common, disk tab", smb, "sto.htm", 6, Redirected, true, false, 1, {"refresh 6"}, {}},
        {"common, no such page", smb, "smb.htm", 7, Redirected, true, false, 1, {}, {}},
        {"common, negative page", smb, "smb.htm", -1, Redirected, true, false, 1, {}, {}},
        {"common ignores a failed exchange", smb, "smb.htm", 3, NoConnection, true, false, 1, {"refresh 3"}, {}},
        {"common ignores a fail page", smb, "smb.htm", 3, RedirectedToFail, true, false, 1, {"refresh 3"}, {}},
        {"maintain: no refresh", Nas + "man.cgi?type=reboot", "maintain.htm", 2, Redirected, true, false, 1, {}, {}},
        {"password taken over", Nas + "nas.cgi?type=auth_apply", "sys_auth.htm", 0, Redirected, true, false, 1,
         {"refresh 0"}, {}, "192.168.1.20", "new pass"},
        {"ftp accepted", ftpAdd, "ftp.htm", 4, Redirected, true, false, 1, {"refresh 4"}, {}},
        {"ftp answered with the fail page", ftpAdd, "ftp.htm", 4, RedirectedToFail, true, false, 0, {}, {}},
        {"ftp exchange failed", ftpAdd, "ftp.htm", 4, NoConnection, true, false, 0, {}, {}},
        {"ftp error after a redirect is no failure", ftpAdd, "ftp.htm", 4, FailedAfterRedirect, true, false, 1,
         {"refresh 4"}, {}},
        {"ftp error after a redirect to the fail page", ftpAdd, "ftp.htm", 4, FailedAfterRedirectToFail, true,
         false, 0, {}, {}},
        {"ftp that gave up on redirects", ftpAdd, "ftp.htm", 4, GaveUpOnRedirects, true, false, 0, {}, {}},
        {"ftp 401 is taken as sent", ftpAdd, "ftp.htm", 4, Refused401, true, false, 1, {"refresh 4"}, {}},
        {"ftp account state is never a failure", ftpEnable, "ftp.htm", 4, RedirectedToFail, true, false, 1,
         {"refresh 4"}, {}},
        {"ftp account state with a failed exchange", ftpEnable, "ftp.htm", 4, NoConnection, true, false, 1,
         {"refresh 4"}, {}},
        {"page names are case-sensitive", ftpAdd, "FTP.htm", 4, RedirectedToFail, true, false, 1, {"refresh 4"}, {}},
        {"unreachable on the status tab", smb, "id.htm", 0, Redirected, false, false, 0, {}, {ConnectionFail}},
        {"unreachable on the ftp tab", ftpAdd, "ftp.htm", 4, RedirectedToFail, false, false, 4, {}, {ConnectionFail}},
        {"unreachable after a password change", Nas + "nas.cgi?type=auth_apply", "sys_auth.htm", 0, Redirected,
         false, false, 0, {}, {ConnectionFail}},
        {"unreachable after a reboot", Nas + "man.cgi?type=reboot", "maintain.htm", 2, Redirected, false, false, 2,
         {}, {ConnectionFail}},
        {"automatic address", ip, "if_cgi.htm", 1, Redirected, true, true, 1,
         {"hide management after 1 box", "discovery search"}, {AutomaticIP}},
        {"automatic address, old one gone", ip, "if_cgi.htm", 1, NoConnection, false, true, 1,
         {"hide management after 1 box", "discovery search"}, {AutomaticIP}},
        {"static address", ip, "if_cgi.htm", 1, Redirected, true, false, 1, {}, {AddressChanged}, "192.168.1.77"},
        {"static address, old one gone", ip, "if_cgi.htm", 1, NoConnection, false, false, 1, {}, {AddressChanged},
         "192.168.1.77"},
    };
    for (const FollowUpCase& c : cases) {
        SetUp();
        log.clear();
        notifier.boxes.clear();
        transport.answers = {c.answer};
        transport.reachable = c.reachable;
        windows.automaticIP = c.automaticIP;

        EXPECT_EQ(sender.SendDeviceCommand(c.url, c.page, c.tabIndex), c.result) << c.what;
        EXPECT_EQ(windowEvents(), c.windowEvents) << c.what;
        ASSERT_EQ(notifier.boxes.size(), c.boxes.size()) << c.what;
        for (std::size_t i = 0; i < c.boxes.size(); ++i) {
            EXPECT_EQ(notifier.boxes[i].text, c.boxes[i].text) << c.what;
            EXPECT_EQ(notifier.boxes[i].caption, c.boxes[i].caption) << c.what;
            EXPECT_EQ(notifier.boxes[i].icon, c.boxes[i].icon) << c.what;
            EXPECT_FALSE(notifier.boxes[i].confirmation) << c.what;
        }
        EXPECT_EQ(CurrentDevice.Address, c.addressAfter) << c.what;
        EXPECT_EQ(CurrentDevice.Password, c.passwordAfter) << c.what;
        EXPECT_EQ(count("exchange"), 1u) << c.what;
        EXPECT_EQ(count("probe 192.168.1.20"), 1u) << c.what;
    }
}

TEST_F(CommandSenderTest, SendsWithTheCredentialsThenTestsTheConnection)
{
    const std::string url = Nas + "nas.cgi?redirect=smb.htm&failure=fail.htm&type=nas_apply&name=a+b";
    EXPECT_EQ(sender.SendDeviceCommand(url, "smb.htm", 3), 1);
    EXPECT_EQ(sender.SendDeviceCommand(url, "smb.htm", 3), 1);

    ASSERT_EQ(transport.exchanges.size(), 2u);
    EXPECT_EQ(transport.exchanges[0].url, url);
    EXPECT_EQ(transport.exchanges[0].user, "admin");
    EXPECT_EQ(transport.exchanges[0].password, "admin");
    EXPECT_EQ(transport.exchanges[0].referer, "http://192.168.1.20/smb.htm");
    // The first command goes out under the client's own bound; 1000 ms from then on.
    const EventLog expected = {"exchange " + url, "timeout 1000", "probe 192.168.1.20", "refresh 3",
                               "exchange " + url, "timeout 1000", "probe 192.168.1.20", "refresh 3"};
    EXPECT_EQ(log, expected);
}

TEST_F(CommandSenderTest, ReadsTheCurrentDeviceAtEachCall)
{
    sender.SendDeviceCommand(Nas + "nas.cgi?type=auth_apply", "sys_auth.htm", 0);
    CurrentDevice.Address = "192.168.1.21";
    sender.SendDeviceCommand("http://192.168.1.21/nas.cgi?type=nas_apply", "id.htm", 0);

    ASSERT_EQ(transport.exchanges.size(), 2u);
    EXPECT_EQ(transport.exchanges[1].password, "new pass");
    EXPECT_EQ(transport.exchanges[1].referer, "http://192.168.1.21/id.htm");
    EXPECT_EQ(count("probe 192.168.1.21"), 1u);
}

TEST_F(CommandSenderTest, RefusesWithoutAnAddress)
{
    CurrentDevice.Address.clear();
    EXPECT_EQ(sender.SendDeviceCommand("http:///nas.cgi?type=nas_apply", "smb.htm", 3), 1);
    EXPECT_TRUE(log.empty());
    ASSERT_EQ(notifier.boxes.size(), 1u);
    EXPECT_EQ(notifier.boxes[0].text, "IP Address Error!");
    EXPECT_EQ(notifier.boxes[0].caption, "Action");
    EXPECT_EQ(notifier.boxes[0].icon, MessageIcon::Error);
}

TEST_F(CommandSenderTest, PausesOnlyWhereAFollowUpWaits)
{
    struct Case {
        std::string page;
        CommandResult answer;
        bool reachable;
        bool pauses;
    };
    const Case cases[] = {
        {"smb.htm", Redirected, true, true},        {"ftp.htm", RedirectedToFail, true, true},
        {"maintain.htm", Redirected, true, false},  {"if_cgi.htm", Redirected, true, false},
        {"smb.htm", Redirected, false, false},
    };
    for (const Case& c : cases) {
        // A long pause makes the difference plain even on a busy machine.
        CurrentDevice.CommandPauseMs = c.pauses ? 200 : 3000;
        transport.answers = {c.answer};
        transport.reachable = c.reachable;
        const std::int64_t started = MonotonicMs();
        sender.SendDeviceCommand(Nas + "nas.cgi?type=x", c.page, 3);
        const std::int64_t elapsed = MonotonicMs() - started;
        if (c.pauses) {
            EXPECT_GE(elapsed, 200) << c.page;
        } else {
            EXPECT_LT(elapsed, 2000) << c.page;
        }
    }
}

TEST_F(CommandSenderTest, RetriesWhileTheResultIsZeroAtMostFifteenTimes)
{
    struct Case {
        const char* what;
        std::string page;
        std::vector<CommandResult> answers;
        bool reachable;
        std::deque<int> activeTabs;
        std::optional<int> showOperation;
        std::size_t sends;
        EventLog refreshes;
        std::size_t boxes;
    };
    const Case cases[] = {
        {"ftp failing every time", "ftp.htm", std::vector<CommandResult>(15, RedirectedToFail), true, {4}, 4, 15,
         {"refresh 4"}, 0},
        {"ftp failure without refresh named", "ftp.htm", std::vector<CommandResult>(15, RedirectedToFail), true, {4},
         std::nullopt, 15, {}, 0},
        {"ftp accepted on the third send", "ftp.htm", {RedirectedToFail, NoConnection, Redirected}, true, {4}, 4, 3,
         {"refresh 4"}, 0},
        {"common command sent once", "smb.htm", {Redirected}, true, {3}, 3, 1, {"refresh 3"}, 0},
        {"unreachable on the status tab is told once", "id.htm", {}, false, {0}, 0, 1, {}, 1},
        {"unreachable on another tab stops", "smb.htm", {}, false, {3}, 3, 1, {}, 1},
        {"unreachable while an ftp command is retried stops", "ftp.htm", {RedirectedToFail}, false, {4}, 4, 1, {}, 1},
        {"tab read anew before each send", "ftp.htm", {RedirectedToFail, RedirectedToFail, Redirected}, true,
         {4, 4, 5}, 4, 3, {"refresh 5"}, 0},
        {"named refresh outside the pages", "ftp.htm", std::vector<CommandResult>(15, RedirectedToFail), true, {4},
         9, 15, {}, 0},
    };
    for (const Case& c : cases) {
        log.clear();
        notifier.boxes.clear();
        transport.exchanges.clear();
        transport.answers.assign(c.answers.begin(), c.answers.end());
        transport.defaultAnswer = Redirected;
        transport.reachable = c.reachable;
        windows.activeTabs = c.activeTabs;

        sender.SendDeviceCommandWithRetry(Nas + "nas.cgi?type=ftps_user_add", c.page, c.showOperation);
        EXPECT_EQ(transport.exchanges.size(), c.sends) << c.what;
        EXPECT_EQ(count("active tab"), c.sends) << c.what;
        EXPECT_EQ(windowEvents().size(), c.sends + c.refreshes.size()) << c.what;
        EventLog refreshes;
        for (const std::string& event : log)
            if (event.rfind("refresh", 0) == 0)
                refreshes.push_back(event);
        EXPECT_EQ(refreshes, c.refreshes) << c.what;
        if (!refreshes.empty()) {
            EXPECT_EQ(windowEvents().back(), refreshes.back()) << c.what;
        }
        EXPECT_EQ(notifier.boxes.size(), c.boxes) << c.what;
    }
}

} // namespace
