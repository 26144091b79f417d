#include "app/DialogName.h"

#include <gtest/gtest.h>

#include "ui/Ftpscreateaform/FtpCreateAccountLogic.h"
#include "ui/Ftpscreatefform/FtpCreateFolderLogic.h"
#include "ui/Ftpsrenameform/FtpRenameFolderLogic.h"

namespace {

const std::string nas = "http://10.0.0.7/nas.cgi?redirect=";
const char* const empty = "Value is empty";
const char* const tooLong = "Over Maximum (12 characters).";
const char* const same = "New name entries do not match!";
const char* const badCharacter = "Only alpha-numberic characters accepted (a-z, 0-9).";

} // namespace

TEST(ValidateDialogName, ChecksInOrderWithTheirEffects)
{
    const DialogNameFields createFields{0, std::nullopt};
    const DialogNameFields renameFields{1, 0};
    const struct {
        std::string name;
        std::optional<std::string> oldName;
        const char* refusal; // nullptr: accepted
        std::vector<int> cleared, enabled;
    } cases[] = {
        {"ann", std::nullopt, nullptr, {}, {}},
        {"A-b_c=9", std::nullopt, nullptr, {}, {}},
        {"abcdefghijkl", std::nullopt, nullptr, {}, {}},
        {"", std::nullopt, empty, {}, {}},
        {"abcdefghijklm", std::nullopt, tooLong, {0}, {0}},
        {"a b", std::nullopt, badCharacter, {0}, {0}},
        {"name.", std::nullopt, badCharacter, {0}, {0}},
        {"caf\xE9", std::nullopt, badCharacter, {0}, {0}},
        {"a/b", std::nullopt, badCharacter, {0}, {0}},
        // too long comes before a bad character
        {"a.b.c.d.e.f.g", std::nullopt, tooLong, {0}, {0}},
        {"docs", std::string("docs"), same, {1}, {1}},
        {"Docs", std::string("docs"), nullptr, {}, {}},
        {"", std::string("docs"), empty, {}, {}},
        // the old name's field may be typed into after this refusal
        {"abcdefghijklm", std::string("docs"), tooLong, {1}, {1, 0}},
        {"do cs", std::string("do cs"), same, {1}, {1}},
        {"d.cs", std::string("docs"), badCharacter, {1}, {1}},
    };
    for (const auto& c : cases) {
        const auto refusal = ValidateDialogName(c.name, c.oldName, "Caption", c.oldName ? renameFields : createFields);
        if (!c.refusal) {
            EXPECT_FALSE(refusal) << c.name;
            continue;
        }
        ASSERT_TRUE(refusal) << c.name;
        EXPECT_EQ(refusal->notice, (Notice{c.refusal, false, "Caption", MessageIcon::Information})) << c.name;
        EXPECT_EQ(refusal->clearedFields, c.cleared) << c.name;
        EXPECT_EQ(refusal->enabledFields, c.enabled) << c.name;
    }
}

TEST(FtpDialogs, CommandsOfAcceptedNames)
{
    const std::string a = "10.0.0.7";
    EXPECT_EQ(std::get<Command>(FtpCreateAccountLogic::FTPAddAccBtnClick({"ann"}, a)),
              (Command{nas + "ftp.htm&failure=fail.htm&type=ftps_user_add&Account=ann&ftp_att=R", "ftp.htm",
                       SendingMode::WithRetry, 4}));
    EXPECT_EQ(std::get<Command>(FtpCreateFolderLogic::ModCreateFBtnClick({"new_1"}, a)),
              (Command{nas + "smb.htm&failure=fail.htm&type=fm_mkdir_apply&folder=new%5F1&to_name=", "ftp_mod.htm",
                       SendingMode::WithRetry, 5}));
    EXPECT_EQ(std::get<Command>(FtpRenameFolderLogic::ModRenameFBtnClick({"old", "New"}, a)),
              (Command{nas + "smb.htm&failure=fail.htm&type=fm_rename_apply&folder=New&to_name=old", "ftp_mod.htm",
                       SendingMode::WithRetry, 5}));
}

TEST(FtpDialogs, RefusalsUnderTheirCaptions)
{
    const auto caption = [](const DialogOutcome& outcome) { return std::get<DialogRefusal>(outcome).notice.caption; };
    EXPECT_EQ(caption(FtpCreateAccountLogic::FTPAddAccBtnClick({""}, "a")), "FTP Server");
    EXPECT_EQ(caption(FtpCreateFolderLogic::ModCreateFBtnClick({"a b"}, "a")), "Modify FTP Account Folder List");
    const DialogRefusal renamed = std::get<DialogRefusal>(FtpRenameFolderLogic::ModRenameFBtnClick({"x", "x"}, "a"));
    EXPECT_EQ(renamed.notice.text, same);
    EXPECT_EQ(renamed.clearedFields, std::vector<int>{FtpRenameFolderLogic::NewName});
}
