#include "ui/Menuform/ModifyFtpTabLogic.h"

#include <gtest/gtest.h>

#include "support/StatusPageText.h"

using namespace ModifyFtpTabLogic;
using Texts = std::vector<std::string>;

namespace {

const std::string nas = "http://10.0.0.7/nas.cgi?redirect=";

} // namespace

TEST(ParseOptionTexts, DisplayTextsBeforeTheBlankAndTag)
{
    const struct {
        const char* text;
        Texts texts;
    } cases[] = {
        {"<option value=\"a\">a </option><option value=\"b\">Bee </option>", {"a", "Bee"}},
        {"<option value=\"v\">shown text </option>", {"shown text"}},
        {"<option value=\"a\">a</option><option value=\"b\">b</option>", {"", ""}},
        {"<option value=\"a\"> </option>", {""}},
        {"junk<option value=\"a\">a </option>", {"a"}},
        {"<option value=\"caf\xC3\xA9\">caf\xC3\xA9 </option>", {"caf\xE9"}},
        {"", {}},
        {"no entries", {}},
        {"<option value=\"a\"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseOptionTexts(c.text), c.texts) << c.text;
}

TEST(ReadModifyFtpTab, TheCurrentAccount)
{
    // Value and display text differ: the folder list shows values, the sharing list texts.
    const ModifyFtpValues values = ReadModifyFtpTab(StatusPageText(
        {{"ftps_account", "ann"}, {"ftps_account_passwd", "annpass"}, {"ftps_att", "checked"},
         {"ftps_dir_list", "<option value=\"v1\">t1</option><option value=\"v2\">t2</option>"},
         {"ftps_share_list", "<option value=\"v1\">t1 </option>"}}));
    EXPECT_EQ(values.ModFTPAccLabel, "ann");
    EXPECT_EQ(values.ModFTPPassEdit, "annpass");
    EXPECT_TRUE(values.readOnly);
    EXPECT_EQ(values.FTPSFLB, (Texts{"v1", "v2"}));
    EXPECT_EQ(values.FTPSSharLB, (Texts{"t1"}));

    const ModifyFtpValues empty = ReadModifyFtpTab("");
    EXPECT_EQ(empty.ModFTPAccLabel, "");
    EXPECT_FALSE(empty.readOnly);
    EXPECT_TRUE(empty.FTPSFLB.empty() && empty.FTPSSharLB.empty());
}

TEST(ModifyFtpCommands, UrlsAndRefusals)
{
    const std::string a = "10.0.0.7";
    EXPECT_EQ(std::get<Command>(ModFTPBtnClick("ann b", "pass word&12", true, a)),
              (Command{nas + "ftp_mod.htm&failure=fail.htm&type=ftps_user_add&Account=ann+b&Account_passwd=pass+word%2612&ftp_att=R",
                       "ftp_mod.htm", SendingMode::Once, std::nullopt}));
    EXPECT_EQ(std::get<Command>(ModFTPBtnClick("ann", "123456789012", false, a)).url,
              nas + "ftp_mod.htm&failure=fail.htm&type=ftps_user_add&Account=ann&Account_passwd=123456789012&ftp_att=W");
    EXPECT_EQ(std::get<Notice>(ModFTPBtnClick("ann", "1234567890123", false, a)),
              (Notice{"Over Maximum (12 characters).", false, "Modify FTP Account"}));

    EXPECT_EQ(std::get<Command>(ModMovetoSharBtnClick("ann", "My Docs", a)),
              (Command{nas + "ftp_mod.htm&failure=fail.htm&type=ftps_add_share&account=ann&account_List=My+Docs&op_add=Add",
                       "ftp_mod.htm", SendingMode::WithRetry, 5}));
    EXPECT_EQ(std::get<Notice>(ModMovetoSharBtnClick("ann", "thirteen_char", a)),
              (Notice{"Over Maximum (12 characters).", false, "Modify FTP Account Folder List"}));
    // Taking a long name back out of the sharing list has no such check.
    EXPECT_EQ(ModMovetoFolderBtnClick("ann", "thirteen_char", a),
              (Command{nas + "ftp_mod.htm&failure=fail.htm&type=ftps_del_share&account=ann&account_List=thirteen%5Fchar&op_del=Delete",
                       "ftp_mod.htm", SendingMode::WithRetry, 5}));

    const ConfirmedCommand removal = ModDelBtnClick("old-1", a);
    EXPECT_EQ(removal.question, (Notice{"Selected folder and its contents will be deleted!\nAre you sure?", true,
                                        "Modify FTP Account Folder List", MessageIcon::Question}));
    EXPECT_EQ(removal.command, (Command{nas + "smb.htm&failure=fail.htm&type=fm_rmdir_apply&folder=old%2D1&to_name=",
                                        "ftp_mod.htm", SendingMode::WithRetry, 5}));
}
