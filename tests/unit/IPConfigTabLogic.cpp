#include "ui/Menuform/IPConfigTabLogic.h"

#include <gtest/gtest.h>

#include "support/StatusPageText.h"

using namespace IPConfigTabLogic;

namespace {

const std::string address = "192.168.1.20";
const std::string staticPrefix
    = "http://192.168.1.20/if.cgi?redirect=if_cfg.htm&failure=fail.htm&type=wan_fixip_apply&ip=";

} // namespace

TEST(ReadIPConfig, MapsTheChoiceAndFillsTheEditsWhicheverIsChecked)
{
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> settings;
        IPConfigValues expected;
    };
    const std::vector<Case> cases = {
        {"dhcp client, edits still filled",
         {{"ip_type", "DHCP CLIENT"},
          {"ip", "192.168.1.20"},
          {"submask", "255.255.255.0"},
          {"gateway", "192.168.1.1"},
          {"pdns", "192.168.1.1"},
          {"sdns", ""}},
         {true, "192.168.1.20", "255.255.255.0", "192.168.1.1", "192.168.1.1", ""}},
        {"other letter case is static",
         {{"ip_type", "dhcp client"}, {"ip", "10.0.0.5"}},
         {false, "10.0.0.5", "", "", "", ""}},
        {"fixed",
         {{"ip_type", "FIXED IP"}, {"ip", "10.0.0.5"}, {"sdns", " 8.8.8.8 "}},
         {false, "10.0.0.5", "", "", "", " 8.8.8.8 "}},
        {"no ip_type is static", {{"ip", "10.0.0.5"}}, {false, "10.0.0.5", "", "", "", ""}},
        // The key of "ip" also ends longer names: its first occurrence wins.
        {"ip ending a longer name", {{"wins_ip", "10.9.9.9"}, {"ip", "10.0.0.5"}}, {false, "10.9.9.9", "", "", "", ""}},
    };
    for (const Case& test : cases)
        EXPECT_EQ(ReadIPConfig(StatusPageText(test.settings)), test.expected) << test.name;
}

TEST(RefreshIPConfig, RepeatsWhileTheAddressIsEmptyButEnds)
{
    struct Case {
        int emptyReads; // reads before the address shows
        int expectedReads;
        std::string expectedAddress;
    };
    const Case cases[] = {
        {0, 1, "10.0.0.5"},
        {3, 4, "10.0.0.5"},
        {MostRefreshRepeats, MostRefreshRepeats + 1, "10.0.0.5"},
        {1000, MostRefreshRepeats + 1, ""}, // never names it: the fields stay empty
    };
    for (const Case& test : cases) {
        int reads = 0;
        const auto values = RefreshIPConfig([&] {
            const bool named = reads++ >= test.emptyReads;
            return StatusPageText({{"ip_type", "FIXED IP"}, {"ip", named ? "10.0.0.5" : ""}, {"submask", "255.0.0.0"}});
        });
        EXPECT_EQ(reads, test.expectedReads) << test.emptyReads;
        EXPECT_EQ(values.IPAddressEdit, test.expectedAddress) << test.emptyReads;
        EXPECT_EQ(values.SubMaskEdit, "255.0.0.0");
    }
}

TEST(IPinforBtnClick, BuildsBothAddressCommands)
{
    struct Case {
        const char* name;
        IPConfigControls controls;
        std::string url;
    };
    const std::vector<Case> cases = {
        {"automatic sends the interface name empty, whatever the edits hold",
         {true, "10.0.0.5", "255.0.0.0", "10.0.0.1", "10.0.0.1", "10.0.0.2"},
         "http://192.168.1.20/dhcpc.cgi?redirect=if_cfg.htm&failure=fail.htm&type=dhcpc_apply&ifname="},
        {"static, every edit in order",
         {false, "192.168.1.30", "255.255.255.0", "192.168.1.1", "192.168.1.2", "192.168.1.3"},
         staticPrefix + "192.168.1.30&submask=255.255.255.0&gateway=192.168.1.1&pdns=192.168.1.2&sdns=192.168.1.3"},
        {"static, empty secondary DNS",
         {false, "192.168.1.30", "255.255.255.0", "192.168.1.1", "192.168.1.2", ""},
         staticPrefix + "192.168.1.30&submask=255.255.255.0&gateway=192.168.1.1&pdns=192.168.1.2&sdns="},
        {"static, texts as they stand: blanks and odd forms",
         {false, " 10.0.0.5 ", "255.0.0.0x", "", "a b", "1.2.3.4/8"},
         staticPrefix + " 10.0.0.5 &submask=255.0.0.0x&gateway=&pdns=a b&sdns=1.2.3.4/8"},
        {"static, a value cannot add a parameter",
         {false, "10.0.0.5&type=reboot", "255.0.0.0#x", "10.0.0.1+1", "50%", ""},
         staticPrefix + "10.0.0.5%26type=reboot&submask=255.0.0.0%23x&gateway=10.0.0.1%2B1&pdns=50%25&sdns="},
    };
    for (const Case& test : cases) {
        const Command command = IPinforBtnClick(test.controls, address);
        EXPECT_EQ(command.url, test.url) << test.name;
        EXPECT_EQ(command.page, "if_cgi.htm") << test.name;
        EXPECT_EQ(command.mode, SendingMode::WithRetry) << test.name;
        EXPECT_FALSE(command.showOperation.has_value()) << test.name;
    }
}
