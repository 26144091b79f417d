#include "ui/Menuform/FtpServerTabLogic.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/StatusPageText.h"

using namespace FtpServerTabLogic;
using Rows = std::vector<FtpAccountRow>;

namespace {

const std::string nas = "http://10.0.0.7/nas.cgi?redirect=";

std::string Pad(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "&nbsp;";
    return text;
}

// One entry as the appliance writes it: the name padded to 21 columns (at least one "&nbsp;").
std::string Entry(const std::string& value, const std::string& name, const std::string& password,
                  const std::string& access, const std::string& state)
{
    const int namePadding = name.size() < 21 ? 21 - static_cast<int>(name.size()) : 1;
    return "<option value=\"" + value + "\">" + name + Pad(namePadding) + password + Pad(11) + access + Pad(11) + state
           + Pad(1) + "</option>";
}

} // namespace

TEST(ParseAccountList, ReadsEveryColumnOfEachEntry)
{
    const std::string ann = "<option value=\"7\">ann" + Pad(18) + "secret" + Pad(11) + "RW" + Pad(11) + "Enable"
                            + Pad(1) + "</option>";
    const std::string twentyOne(21, 'n');
    const std::string twentyFive = "abcdefghijklmnopqrstuvwxy";
    const struct {
        const char* name;
        std::string text;
        Rows rows;
    } cases[] = {
        {"the appliance's example", ann, {{"ann", "secret", "RW", "Enable", "7"}}},
        {"two rows in order", Entry("3", "bob", "pw", "RO", "Disable") + Entry("7", "ann", "", "RW", "Enable"),
         {{"bob", "pw", "RO", "Disable", "3"}, {"ann", "", "RW", "Enable", "7"}}},
        {"empty password keeps its columns", Entry("1", "x", "", "RO", "Enable"), {{"x", "", "RO", "Enable", "1"}}},
        {"twenty characters", Entry("2", std::string(20, 'a'), "p", "RW", "Enable"),
         {{std::string(20, 'a'), "p", "RW", "Enable", "2"}}},
        {"twenty-one characters", Entry("4", twentyOne, "p", "RO", "Enable"), {{twentyOne, "p", "RO", "Enable", "4"}}},
        {"longer than its column", Entry("5", twentyFive, "pw", "RW", "Disable"),
         {{twentyFive, "pw", "RW", "Disable", "5"}}},
        {"long name, empty password", Entry("6", twentyFive, "", "RO", "Enable"),
         {{twentyFive, "", "RO", "Enable", "6"}}},
        {"no &nbsp; gives no row, the next is read",
         "<option value=\"1\">plain</option>" + Entry("2", "ann", "p", "RW", "Enable"),
         {{"ann", "p", "RW", "Enable", "2"}}},
        {"name only", "<option value=\"8\">solo" + Pad(17) + "</option>", {{"solo", "", "", "", "8"}}},
        {"no access column", "<option value=\"8\">solo" + Pad(17) + "pw" + Pad(11) + "</option>",
         {{"solo", "pw", "", "", "8"}}},
        {"state without its &nbsp;", "<option value=\"8\">solo" + Pad(17) + "pw" + Pad(11) + "RO" + Pad(11) + "Enable</option>",
         {{"solo", "pw", "RO", "", "8"}}},
        {"no closing tag", "<option value=\"9\">ann" + Pad(18) + "pw", {}},
        {"empty", "", {}},
        {"no entries", "nothing here", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseAccountList(c.text), c.rows) << c.name;
}

TEST(ReadFtpServerTab, SettingsAndTheHomeFolder)
{
    const std::string folders = "<option value=\"public\">public</option><option value=\"Docs\">Docs</option>"
                                "<option value=\"public\">public</option>";
    const struct {
        const char* name;
        std::string page;
        bool enabled, anonymous, readOnly;
        std::string port;
        int home;
    } cases[] = {
        {"on, read only", StatusPageText({{"ftps_status", "ENABLE"}, {"ftps_port", "00021"}, {"ftp_anon_stu", "checked"},
                                          {"ftp_a_att", "checked"}, {"ftps_dir_list", folders}, {"ftps_home_def", "Docs"}}),
         true, true, true, "00021", 1},
        {"lower case is not ENABLE; the last equal entry wins",
         StatusPageText({{"ftps_status", "enable"}, {"ftps_port", "2121"}, {"ftp_anon_stu", "CHECKED"},
                         {"ftps_dir_list", folders}, {"ftps_home_def", "public"}}),
         false, false, false, "2121", 2},
        {"unknown home keeps the first", StatusPageText({{"ftps_dir_list", folders}, {"ftps_home_def", "gone"}}), false,
         false, false, "", 0},
        {"no folders, no home", StatusPageText({{"ftps_home_def", "public"}}), false, false, false, "", -1},
        {"unreadable page", "", false, false, false, "", -1},
    };
    for (const auto& c : cases) {
        const FtpServerValues values = ReadFtpServerTab(c.page);
        EXPECT_EQ(values.serviceEnabled, c.enabled) << c.name;
        EXPECT_EQ(values.anonymousEnabled, c.anonymous) << c.name;
        EXPECT_EQ(values.anonymousReadOnly, c.readOnly) << c.name;
        EXPECT_EQ(values.FTPPortEdit, c.port) << c.name;
        EXPECT_EQ(values.homeIndex, c.home) << c.name;
    }
}

TEST(FtpPort, OnlyTwentyOneOrTheHighRange)
{
    for (int port : {21, 1025, 2121, 65500})
        EXPECT_TRUE(IsValidPort(port)) << port;
    for (int port : {0, 20, 22, 1024, 65501, -21, 80})
        EXPECT_FALSE(IsValidPort(port)) << port;
}

TEST(FTPStatusBtnClick, SendsThePortAsTypedOrRefuses)
{
    const auto sent = [](const std::string& entry, const std::string& port) {
        return std::get<Command>(FTPStatusBtnClick(entry, port, "10.0.0.7"));
    };
    EXPECT_EQ(sent("Enable", "00021"),
              (Command{nas + "ftp.htm&failure=fail.htm&type=ftps_state_apply&ftps_set=ENABLE&ftps_port=00021", "ftp.htm",
                       SendingMode::Once, std::nullopt}));
    EXPECT_EQ(sent("Disable", "1025").url, nas + "ftp.htm&failure=fail.htm&type=ftps_state_apply&ftps_set=DISABLE&ftps_port=1025");
    EXPECT_EQ(sent("", "65500").url, nas + "ftp.htm&failure=fail.htm&type=ftps_state_apply&ftps_set=DISABLE&ftps_port=65500");
    // A sign must reach the appliance as a sign, not as a blank.
    EXPECT_EQ(sent("Enable", "+21").url, nas + "ftp.htm&failure=fail.htm&type=ftps_state_apply&ftps_set=ENABLE&ftps_port=%2B21");

    for (const char* port : {"20", "1024", "65501", "0"}) {
        const auto outcome = FTPStatusBtnClick("Enable", port, "10.0.0.7");
        ASSERT_TRUE(std::holds_alternative<Notice>(outcome)) << port;
        EXPECT_EQ(std::get<Notice>(outcome), (Notice{"Invalid port number", false, "FTP Configuration"})) << port;
    }
    for (const char* port : {"", "abc", "2 1", "21x", "99999999999"}) {
        try {
            FTPStatusBtnClick("Enable", port, "10.0.0.7");
            ADD_FAILURE() << "no error for '" << port << "'";
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(std::string(error.what()), "'" + std::string(port) + "' is not a valid integer value");
        }
    }
}

TEST(FtpServerCommands, UrlsPagesAndRetries)
{
    const std::string a = "10.0.0.7";
    const struct {
        Command command;
        std::string url;
        std::string page;
        SendingMode mode;
        std::optional<int> showOperation;
    } cases[] = {
        {AnonyBtnClick(true, true, "public", a),
         nas + "ftp.htm&failure=fail.htm&type=ftps_anonymous_apply&ftp_anon_stu=ENABLE&ftp_a_att=RO&home=public&anony_Apply=Apply",
         "ftp.htm", SendingMode::WithRetry, std::nullopt},
        {AnonyBtnClick(false, false, "", a),
         nas + "ftp.htm&failure=fail.htm&type=ftps_anonymous_apply&ftp_anon_stu=DISABLE&ftp_a_att=RW&home=&anony_Apply=Apply",
         "ftp.htm", SendingMode::WithRetry, std::nullopt},
        {AnonyBtnClick(true, false, "a&b", a),
         nas + "ftp.htm&failure=fail.htm&type=ftps_anonymous_apply&ftp_anon_stu=ENABLE&ftp_a_att=RW&home=a%26b&anony_Apply=Apply",
         "ftp.htm", SendingMode::WithRetry, std::nullopt},
        {AccAddBtnClick(a), nas + "ftp_add.htm&failure=fail.htm&type=ftps_userid_set&ftps_user_id=255", "/ftp.htm",
         SendingMode::WithRetry, 4},
        {AccModifyBtnClick("7", a), nas + "ftp_mod.htm&failure=fail.htm&type=ftps_userid_set&ftps_user_id=7", "ftp.htm",
         SendingMode::WithRetry, 4},
        {AccStatusBtnClick(1, a), nas + "ftp.htm&failure=fail.htm&type=ftps_user_enabled&FTP_AC_LIST=1", "ftp.htm",
         SendingMode::WithRetry, 4},
        {AccDelBtnClick("7", a), nas + "ftp.htm&failure=fail.htm&type=ftps_user_del&FTP_AC_LIST=7", "ftp.htm",
         SendingMode::WithRetry, 4},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.command.url, c.url);
        EXPECT_EQ(c.command.page, c.page) << c.url;
        EXPECT_EQ(c.command.mode, c.mode) << c.url;
        EXPECT_EQ(c.command.showOperation, c.showOperation) << c.url;
    }
}
