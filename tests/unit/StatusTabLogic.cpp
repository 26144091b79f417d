#include "ui/Menuform/StatusTabLogic.h"

#include <gtest/gtest.h>

#include "support/StatusPageText.h"
#include "app/TextRules.h"

using namespace StatusTabLogic;

namespace {

const std::string address = "192.168.1.20";

Notice Identification(const std::string& text, MessageIcon icon = MessageIcon::Information)
{
    return Notice{text, false, "Identification", icon};
}

Notice Refused(const std::string& text) { return Notice{text, true, "Identification", MessageIcon::Information}; }

std::string IdentificationUrl(const std::string& host, const std::string& group)
{
    return "http://192.168.1.20/nas.cgi?redirect=id.htm&failure=fail.htm&type=cifs_config_apply&enable=1&hostname="
        + host + "&group_name=" + group;
}

} // namespace

TEST(ReadStatusTab, FillsEveryControl)
{
    const auto values = ReadStatusTab(StatusPageText({
        {"host_name", "NAS-1"}, {"group_name", "WORKGROUP"}, {"sntp_day0", "2026"},
        {"ip_addr", "192.168.1.20"}, {"dhcps_option", "checked"}, {"mac_addr", "00:11:22:33:44:55"},
        {"firm_ver", "1.7.2"}, {"disk_id", "DISK 01"}, {"free_size", " \t 12.5 GB \r"},
        {"total_size", "  80.0 GB  "}, {"default_lang", "2"}, {"lang_list", "English#Deutsch#Fran\xE7" "ais"},
    }));
    EXPECT_EQ(values.HostEdit, "NAS-1");
    EXPECT_EQ(values.GroupEdit, "WORKGROUP");
    EXPECT_EQ(values.dateTime.YearEdit, "2026");
    EXPECT_EQ(values.IPAddressLB, "192.168.1.20");
    EXPECT_TRUE(values.dhcpServerOn);
    EXPECT_EQ(values.MSCAddrLB, "00:11:22:33:44:55");
    EXPECT_EQ(values.FirmverLB, "1.7.2");
    EXPECT_EQ(values.DiskidLB, "DISK 01");
    EXPECT_EQ(values.FreesizeLB, "12.5 GB");
    EXPECT_EQ(values.TotalsizeLB, "  80.0 GB  ");
    EXPECT_EQ(values.languages, (std::vector<std::string>{"English", "Deutsch", "Fran\xE7" "ais"}));
    EXPECT_EQ(values.languageIndex, 2);
}

TEST(ReadStatusTab, LanguageList)
{
    using List = std::vector<std::string>;
    const struct {
        std::optional<std::string> list, defaultLanguage; // nullopt: missing from the page
        List languages;
        int index;
    } cases[] = {
        {"English#Deutsch#Espanol", "2", {"English", "Deutsch", "Espanol"}, 2},
        {"English#Deutsch#Espanol", "5", {"English", "Deutsch", "Espanol"}, -1},
        {"English#Deutsch#Espanol", "3", {"English", "Deutsch", "Espanol"}, -1},
        {"English#Deutsch#Espanol", "-1", {"English", "Deutsch", "Espanol"}, -1},
        {"English#Deutsch#Espanol", "", {"English", "Deutsch", "Espanol"}, 0},
        {"English#Deutsch#Espanol", std::nullopt, {"English", "Deutsch", "Espanol"}, 0},
        {"English#Deutsch#Espanol", "two", {"English", "Deutsch", "Espanol"}, -1},
        {"English#Deutsch#Espanol", "1x", {"English", "Deutsch", "Espanol"}, -1},
        {"English#Deutsch", "1", {"English", "Deutsch"}, 1},
        {"English#", "1", {"English", ""}, 1},
        {"#", "0", {"", ""}, 0},
        {"English##Deutsch", "2", {"English", "", "Deutsch"}, 2},
        {"English", "0", {"English"}, 0},
        {"", "0", {""}, 0},
        {std::nullopt, std::nullopt, {""}, 0},
        {std::nullopt, "1", {""}, -1},
    };
    for (const auto& c : cases) {
        std::vector<std::pair<std::string, std::string>> settings;
        if (c.list)
            settings.emplace_back("lang_list", *c.list);
        if (c.defaultLanguage)
            settings.emplace_back("default_lang", *c.defaultLanguage);
        const auto values = ReadStatusTab(StatusPageText(settings));
        const std::string label = c.list.value_or("(missing)") + " / " + c.defaultLanguage.value_or("(missing)");
        EXPECT_EQ(values.languages, c.languages) << label;
        EXPECT_EQ(values.languageIndex, c.index) << label;
    }
}

TEST(ReadStatusTab, DhcpServerOnlyWhenChecked)
{
    for (const auto& [value, on] : std::vector<std::pair<std::string, bool>>{
             {"checked", true}, {"", false}, {"CHECKED", false}, {"enable", false}})
        EXPECT_EQ(ReadStatusTab(StatusPageText({{"dhcps_option", value}})).dhcpServerOn, on) << value;
}

TEST(ReadStatusTab, UnreadablePageGivesEmptyTab)
{
    for (const std::string page : {"", "<HTML><BODY>401 Unauthorized</BODY></HTML>"}) {
        const auto values = ReadStatusTab(page);
        EXPECT_EQ(values.HostEdit + values.GroupEdit + values.IPAddressLB + values.MSCAddrLB, "");
        EXPECT_EQ(values.FirmverLB + values.DiskidLB + values.FreesizeLB + values.TotalsizeLB, "");
        EXPECT_FALSE(values.dhcpServerOn);
        EXPECT_EQ(values.languages, std::vector<std::string>{""});
        EXPECT_EQ(values.languageIndex, 0);
        EXPECT_FALSE(values.dateTime.listedTimeServer);
        EXPECT_EQ(values.dateTime.MantimeSEdit, std::optional<std::string>(""));
        EXPECT_EQ(values.dateTime.TimezoneIndex, 0);
    }
}

TEST(identBtnClick, Outcomes)
{
    using Result = std::variant<Notice, Command>;
    const auto command = [](const std::string& host, const std::string& group) {
        return Result{Command{IdentificationUrl(host, group), "id.htm", SendingMode::Once, std::nullopt}};
    };
    const struct {
        std::string host, group;
        Result result;
        std::optional<std::string> writtenHost, writtenGroup;
    } cases[] = {
        {"NAS-1_a", "Work_Group-2", command("NAS-1_a", "Work_Group-2"), "NAS-1_a", "Work_Group-2"},
        {"a=b", "g", command("a=b", "g"), "a=b", "g"},
        {"", "WORKGROUP", Identification("Value is empty", MessageIcon::Error), "", "WORKGROUP"},
        {"NAS", "", Identification("Value is empty", MessageIcon::Error), "NAS", ""},
        {"1NAS", "WORKGROUP", Identification("First character cannot be a number (0~9)"), "1NAS", "WORKGROUP"},
        {"NAS", "9G", Identification("First character cannot be a number (0~9)"), "NAS", "9G"},
        // Blanks are trimmed before both rules: never sent as an empty name, nor hiding a digit.
        {" 1NAS", "WORKGROUP", Identification("First character cannot be a number (0~9)"), "1NAS", "WORKGROUP"},
        {"   ", "WORKGROUP", Identification("Value is empty", MessageIcon::Error), "", "WORKGROUP"},
        {"NAS", " \t", Identification("Value is empty", MessageIcon::Error), "NAS", ""},
        {"\tNAS\r\n", " WG ", command("NAS", "WG"), "NAS", "WG"},
        {"my nas", "WORKGROUP", Refused("Invalid value  Host Name my nas"), "my nas", "WORKGROUP"},
        {"nas.", "WORKGROUP", Refused("Invalid value .Host Name nas."), "nas.", "WORKGROUP"},
        {" nas!x ", "WORKGROUP", Refused("Invalid value !Host Name nas!x"), "nas!x", "WORKGROUP"},
        {"nas\xE9", "WORKGROUP", Refused("Invalid value \xE9Host Name nas\xE9"), "nas\xE9", "WORKGROUP"},
        {" NAS ", " work group ", Refused("Invalid value  Group Name work group"), "NAS", "work group"},
        {"nas?", "wg?", Refused("Invalid value ?Host Name nas?"), "nas?", "wg?"},
    };
    for (const auto& c : cases) {
        const auto outcome = identBtnClick(c.host, c.group, address);
        EXPECT_EQ(outcome.result, c.result) << "[" << c.host << "] [" << c.group << "]";
        EXPECT_EQ(outcome.trimmedHost, c.writtenHost) << "[" << c.host << "]";
        EXPECT_EQ(outcome.trimmedGroup, c.writtenGroup) << "[" << c.group << "]";
    }
}

TEST(adminBtnClick, Outcomes)
{
    const Notice empty{"Password cannot be empty!", false, "Administration", MessageIcon::Information};
    const Notice mismatch{"New password entries do not match!", false, "Administration", MessageIcon::Information};
    const std::string prefix =
        "http://192.168.1.20/man.cgi?redirect=sys_auth.htm&failure=fail.htm&type=auth_apply&TF_password=";
    const struct {
        std::string password, verify;
        std::variant<Notice, Command> result;
    } cases[] = {
        {"", "", empty},
        {"secret", "", empty},
        {"", "secret", empty},
        {"Secret", "secret", mismatch},
        {"secret ", "secret", mismatch},
        {"secret", "secret", Command{prefix + "secret&TF_passwordl=secret", "sys_auth.htm", SendingMode::Once, {}}},
        {"a b&c=d.", "a b&c=d.",
         Command{prefix + "a+b%26c%3Dd%2E&TF_passwordl=a+b%26c%3Dd%2E", "sys_auth.htm", SendingMode::Once, {}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(adminBtnClick(c.password, c.verify, address), c.result) << c.password << "/" << c.verify;
}

TEST(NetinfoBtnClick, SendsTheSwitchWithTheFixedPool)
{
    for (const auto& [on, word] : std::vector<std::pair<bool, std::string>>{{true, "ENABLE"}, {false, "DISABLE"}}) {
        const Command command = NetinfoBtnClick(on, address);
        EXPECT_EQ(command.url, "http://192.168.1.20/dhcps.cgi?redirect=status.htm&failure=fail.htm&type=dhcps_apply"
                               "&R_dhcps=" + word + "&TF_wins=&TF_ippoolmin=2&TF_ippoolmax=254&TF_lease_day=1"
                               "&TF_lease_hr=0&TF_lease_min=0");
        EXPECT_EQ(command.page, "status.htm");
        EXPECT_EQ(command.mode, SendingMode::WithRetry);
        EXPECT_EQ(command.showOperation, std::optional<int>(0));
    }
}

TEST(LangBtnClick, SendsTheIndexThenAsksForARestart)
{
    for (const auto& [index, sent] : std::vector<std::pair<int, std::string>>{{0, "0"}, {2, "2"}, {-1, "-1"}}) {
        const auto outcome = LangBtnClick(index, address);
        EXPECT_EQ(outcome.command.url,
                  "http://192.168.1.20/nas.cgi?redirect=status.htm&failure=fail.htm&type=nas_lang_apply&lang=" + sent);
        EXPECT_EQ(outcome.command.page, "status.htm");
        EXPECT_EQ(outcome.command.mode, SendingMode::WithRetry);
        EXPECT_FALSE(outcome.command.showOperation);
        EXPECT_EQ(outcome.afterwards,
                  (Notice{"Please restart system to apply changes!", false, "Language", MessageIcon::Question}));
    }
}

TEST(TextRules, DecimalIntegers)
{
    const struct {
        const char* text;
        std::optional<int> value;
    } cases[] = {
        {"0", 0}, {"12", 12}, {"-12", -12}, {"+7", 7}, {"007", 7}, {"2147483647", 2147483647},
        {"", {}}, {"-", {}}, {"+", {}}, {"+-1", {}}, {"1 ", {}}, {" 1", {}}, {"1.0", {}}, {"0x10", {}},
        {"2147483648", {}}, {"one", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadDecimalInteger(c.text), c.value) << "\"" << c.text << "\"";
}

TEST(TextRules, TrimmingAndNameCharacters)
{
    EXPECT_EQ(TrimText(std::string("\x01 \t a b \x20\x1F", 9)), "a b");
    EXPECT_EQ(TrimText(" \r\n "), "");
    EXPECT_EQ(TrimText("\xA0x\xA0"), "\xA0x\xA0"); // a no-break space is above 0x20
    std::string accepted;
    for (int byte = 0; byte < 256; ++byte)
        if (IsNameCharacter(static_cast<char>(byte)))
            accepted += static_cast<char>(byte);
    EXPECT_EQ(accepted, "-0123456789=ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz");
}
