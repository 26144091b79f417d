// Commands and status page reads through the real clients, checked against
// what the fake appliance did with them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "app/CurrentDevice.h"
#include "device/CommandExchange.h"
#include "device/CommandSender.h"
#include "device/ParameterEncoding.h"
#include "device/StatusPage.h"
#include "platform/Clock.h"
#include "support/RecordingCommandWindows.h"
#include "support/RecordingNotifier.h"
#include "support/SimControl.h"

namespace {

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Polls the appliance's state until it holds the value, at most timeoutMs.
bool WaitForState(const SimControl& sim, const std::string& key, const std::string& value, int timeoutMs)
{
    const std::int64_t deadline = MonotonicMs() + timeoutMs;
    while (MonotonicMs() < deadline) {
        try {
            if (sim.get("/state/" + key) == value)
                return true;
        } catch (const std::exception&) {
            // The control channel may be moving with the appliance's address.
        }
        SleepMs(50);
    }
    return false;
}

class CommandSenderLab : public ::testing::Test {
protected:
    void SetUp() override
    {
        address = Environment("SIM_NAS1_ADDRESS");
        ASSERT_FALSE(address.empty()) << "run under tools/lab/with-appliances.sh";
        ASSERT_TRUE(WaitForState(sim, "rebooting", "0", 15000));
        sim.post("/reset-defaults");
        sim.post("/requests/clear");
        CurrentDevice = {};
        CurrentDevice.Address = address;
        CurrentDevice.UserName = "admin";
        CurrentDevice.Password = "admin";
    }
    void TearDown() override
    {
        SetStatusPageFetcher({});
        CurrentDevice = {};
    }

    std::string url(const std::string& rest) const { return "http://" + address + "/" + rest; }
    int counter(const std::string& key) const { return std::atoi(sim.get("/state/" + key).c_str()); }

    std::string address;
    SimControl sim = SimControl::fromEnv("NAS1");
    RecordingNotifier notifier;
    RecordingCommandWindows::EventLog log;
    RecordingCommandWindows windows{log, notifier};
    CommandClient client;
    CommandSender sender{client, windows};
};

TEST_F(CommandSenderLab, IdentificationCommandRenamesTheApplianceAndTheRefreshShowsIt)
{
    std::string shownHostName;
    windows.onRefresh = [&](int) { shownHostName = ExtractPageValue(FetchStatusPage(), "host_name=\""); };

    EXPECT_EQ(sender.SendDeviceCommand(url("nas.cgi?redirect=id.htm&failure=fail.htm&type=cifs_config_apply"
                                           "&enable=1&hostname=LabBox&group_name=LabGroup"),
                                       "id.htm", 0),
              1);
    EXPECT_EQ(sim.get("/state/host_name"), "LabBox");
    EXPECT_EQ(sim.get("/state/group_name"), "LabGroup");
    EXPECT_EQ(shownHostName, "LabBox");
    EXPECT_EQ(log, (RecordingCommandWindows::EventLog{"refresh 0"}));
    EXPECT_TRUE(notifier.boxes.empty());
    EXPECT_EQ(client.timeoutMs(), 1000);

    const std::string request = sim.get("/requests/0");
    EXPECT_EQ(request.rfind("GET /nas.cgi?redirect=id.htm&failure=fail.htm&type=cifs_config_apply", 0), 0u)
        << request;
    EXPECT_NE(request.find("\r\nReferer: http://" + address + "/id.htm\r\n"), std::string::npos) << request;
    EXPECT_NE(request.find("\r\nAuthorization: Basic YWRtaW46YWRtaW4=\r\n"), std::string::npos) << request;
}

TEST_F(CommandSenderLab, NewAdministratorPasswordIsUsedFromTheNextRequestOn)
{
    windows.newPassword = "pass word";
    bool refreshedWithNewPassword = false;
    windows.onRefresh = [&](int) {
        refreshedWithNewPassword = !ExtractPageValue(FetchStatusPage(), "host_name=\"").empty();
    };
    const std::string encoded = EncodeParameter(windows.newPassword);
    EXPECT_EQ(sender.SendDeviceCommand(url("man.cgi?redirect=sys_auth.htm&failure=fail.htm&type=auth_apply"
                                           "&TF_password=" + encoded + "&TF_passwordl=" + encoded),
                                       "sys_auth.htm", 0),
              1);
    EXPECT_EQ(sim.get("/state/password"), "pass word");
    EXPECT_EQ(CurrentDevice.Password, "pass word");
    EXPECT_TRUE(refreshedWithNewPassword);
    EXPECT_TRUE(notifier.boxes.empty());
}

std::string CreateAccountUrl(const std::string& address, const std::string& account)
{
    return "http://" + address + "/nas.cgi?redirect=ftp.htm&failure=fail.htm&type=ftps_user_add&Account=" + account +
           "&ftp_att=R";
}

TEST_F(CommandSenderLab, FtpCommandFailingEveryTimeIsSentFifteenTimesThenTheTabRefreshed)
{
    EXPECT_EQ(sender.SendDeviceCommand(CreateAccountUrl(address, "lab1"), "ftp.htm", 4), 1);
    EXPECT_NE(sim.get("/state/ftp_users").find("lab1"), std::string::npos);
    EXPECT_EQ(log, (RecordingCommandWindows::EventLog{"refresh 4"}));

    // The appliance takes every command and every connection but answers
    // none, so each exchange ends failed after the 1000 ms time-out.
    log.clear();
    const int before = counter("commands_accepted") + counter("commands_refused");
    sim.post("/fault/silence", "hold=5");
    windows.activeTab = 4;
    const std::int64_t started = MonotonicMs();
    sender.SendDeviceCommandWithRetry(CreateAccountUrl(address, "lab2"), "ftp.htm", 4);
    const std::int64_t elapsed = MonotonicMs() - started;
    sim.post("/fault/none");

    EXPECT_EQ(counter("commands_accepted") + counter("commands_refused"), before + 15);
    EXPECT_EQ(std::count(log.begin(), log.end(), "active tab"), 15);
    EXPECT_EQ(std::count(log.begin(), log.end(), "refresh 4"), 1);
    EXPECT_EQ(log.back(), "refresh 4");
    EXPECT_TRUE(notifier.boxes.empty());
    EXPECT_GE(elapsed, 15 * 900);
    EXPECT_LT(elapsed, 40000);
}

TEST_F(CommandSenderLab, FtpCommandRefusedByTheApplianceGivesZero)
{
    // The sender can tell a refusal only from the last answer's header, the
    // one of the failure page the appliance redirected to.
    const CommandResult failurePage = client.CommandExchange(url("fail.htm"), "admin", "admin", url("ftp.htm"));
    ASSERT_NE(failurePage.replyHeader.find("fail.htm"), std::string::npos)
        << "the appliance's failure page answer does not name fail.htm:\n" << failurePage.replyHeader;

    ASSERT_EQ(sender.SendDeviceCommand(CreateAccountUrl(address, "lab1"), "ftp.htm", 4), 1);
    log.clear();
    const int refusedBefore = counter("commands_refused");
    EXPECT_EQ(sender.SendDeviceCommand(CreateAccountUrl(address, "lab1"), "ftp.htm", 4), 0);
    EXPECT_EQ(counter("commands_refused"), refusedBefore + 1);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(notifier.boxes.empty());
}

TEST_F(CommandSenderLab, SilentApplianceEndsTheCommandAfterTheTimeOut)
{
    // A first command leaves the client with its 1000 ms time-out.
    ASSERT_EQ(sender.SendDeviceCommand(url("nas.cgi?redirect=smb.htm&failure=fail.htm&type=nas_apply"), "smb.htm", 9),
              1);
    sim.post("/fault/silence", "hold=10");

    const std::int64_t started = MonotonicMs();
    const int result = sender.SendDeviceCommand(
        url("nas.cgi?redirect=ftp.htm&failure=fail.htm&type=ftps_user_add&Account=lab2&ftp_att=R"), "ftp.htm", 4);
    const std::int64_t elapsed = MonotonicMs() - started;
    sim.post("/fault/none");

    // The appliance still takes connections, so the connection test passes;
    // the unanswered FTP command counts as failed.
    EXPECT_EQ(result, 0);
    EXPECT_GE(elapsed, 900);
    EXPECT_LT(elapsed, 5000);
    EXPECT_TRUE(notifier.boxes.empty());
}

TEST_F(CommandSenderLab, UnreachableApplianceGivesTheTabIndexAfterConnectionFail)
{
    sim.post("/reboot");
    ASSERT_TRUE(WaitForState(sim, "rebooting", "1", 5000));

    const std::int64_t started = MonotonicMs();
    EXPECT_EQ(sender.SendDeviceCommand(url("nas.cgi?redirect=smb.htm&failure=fail.htm&type=nas_apply"), "smb.htm", 3),
              3);
    EXPECT_LT(MonotonicMs() - started, 3000);
    ASSERT_EQ(notifier.boxes.size(), 1u);
    EXPECT_EQ(notifier.boxes[0].text, "Connection Fail");
    EXPECT_EQ(notifier.boxes[0].caption, "Connect");
    EXPECT_EQ(notifier.boxes[0].icon, MessageIcon::Error);
    EXPECT_TRUE(log.empty());

    // The status page: eight tries through the real fetch, then one box.
    int tries = 0;
    SetStatusPageFetcher([&](const std::string& host, const std::string& user, const std::string& password,
                             const std::string& path) {
        ++tries;
        return FetchPage(host, user, password, path);
    });
    notifier.boxes.clear();
    EXPECT_EQ(FetchStatusPage(), "");
    EXPECT_EQ(tries, 8);
    ASSERT_EQ(notifier.boxes.size(), 1u);
    EXPECT_EQ(notifier.boxes[0].text, "Connection Fail");
    EXPECT_EQ(sim.get("/state/rebooting"), "1") << "the reboot ended before the checks did";
}

TEST_F(CommandSenderLab, StatusPageWithGoodAndWrongCredentials)
{
    int tries = 0;
    SetStatusPageFetcher([&](const std::string& host, const std::string& user, const std::string& password,
                             const std::string& path) {
        ++tries;
        return FetchPage(host, user, password, path);
    });

    const std::string page = FetchStatusPage();
    EXPECT_EQ(tries, 1);
    EXPECT_TRUE(notifier.boxes.empty());
    EXPECT_EQ(ExtractPageValue(page, "host_name=\""), "LAB-NAS");
    EXPECT_EQ(ExtractPageValue(page, "ip_addr=\""), address);

    tries = 0;
    CurrentDevice.Password = "wrong";
    const std::string refused = FetchStatusPage();
    EXPECT_EQ(tries, 1);
    ASSERT_EQ(notifier.boxes.size(), 1u);
    EXPECT_EQ(notifier.boxes[0].text, "Connection Fail");
    EXPECT_EQ(notifier.boxes[0].caption, "Connect");
    EXPECT_NE(refused.find("401"), std::string::npos) << refused;
    EXPECT_EQ(ExtractPageValue(refused, "host_name=\""), "");
}

TEST_F(CommandSenderLab, StaticAddressChangeFollowsTheAppliance)
{
    const std::string moved = "192.168.1.21";
    const auto change = [](const std::string& from, const std::string& to) {
        return "http://" + from + "/if.cgi?redirect=if_cfg.htm&failure=fail.htm&type=wan_fixip_apply&ip=" + to +
               "&submask=255.255.255.0&gateway=192.168.1.1&pdns=192.168.1.1&sdns=";
    };
    windows.automaticIP = false;
    windows.ipAddress = moved;
    EXPECT_EQ(sender.SendDeviceCommand(change(address, moved), "if_cgi.htm", 1), 1);
    EXPECT_EQ(CurrentDevice.Address, moved);
    ASSERT_EQ(notifier.boxes.size(), 1u);
    EXPECT_EQ(notifier.boxes[0].text, "IP has been change, reconnect it success");
    EXPECT_EQ(notifier.boxes[0].caption, "IP Infomation");
    EXPECT_EQ(notifier.boxes[0].icon, MessageIcon::Question);
    EXPECT_TRUE(log.empty());

    // The appliance answers at its new address, and the status page says so.
    const SimControl movedSim(moved + ":8080");
    ASSERT_TRUE(WaitForState(movedSim, "address", moved, 5000)) << "the appliance did not move";
    EXPECT_EQ(ExtractPageValue(FetchStatusPage(), "ip_addr=\""), moved);

    // Back to where the other tests expect it.
    windows.ipAddress = address;
    EXPECT_EQ(sender.SendDeviceCommand(change(moved, address), "if_cgi.htm", 1), 1);
    EXPECT_EQ(CurrentDevice.Address, address);
    ASSERT_TRUE(WaitForState(sim, "address", address, 5000)) << "the appliance did not move back";
}

} // namespace
