#include <gtest/gtest.h>

#include "ui/Smbcreatform/CreateFolderLogic.h"
#include "ui/Smbpassform/SharePasswordLogic.h"
#include "ui/Smbrenameform/RenameFolderLogic.h"

namespace {

const std::string address = "192.168.1.20";
const std::string nas = "http://192.168.1.20/nas.cgi?redirect=smb.htm&failure=fail.htm&type=";

DialogOutcome Sent(const std::string& url) { return Command{url, "smb.htm", SendingMode::WithRetry, 3}; }

DialogOutcome Refused(const char* text, const char* caption, std::vector<int> cleared, std::vector<int> enabled = {})
{
    return DialogRefusal{Notice{text, false, caption, MessageIcon::Information}, cleared, enabled};
}

const char* const Empty = "Value is empty";
const char* const Over = "Over Maximum (12 characters).";

} // namespace

TEST(CreateFBtnClick, ChecksInOrderThenCreates)
{
    const char* const badCharacter = "Only alpha-numberic characters accepted (a-z, 0-9).";
    const struct {
        std::string name;
        DialogOutcome outcome;
    } cases[] = {
        {"", Refused(Empty, "File Server", {})},
        {"abcdefghijkl", Sent(nas + "fm_mkdir_apply&folder=abcdefghijkl&to_name=")},
        {"abcdefghijklm", Refused(Over, "File Server", {0})},
        {"abc def ghi jk", Refused(Over, "File Server", {0})}, // length before characters
        {"my folder", Refused(badCharacter, "File Server", {0})},
        {"folder.", Refused(badCharacter, "File Server", {0})},
        {"P\xFA" "blico", Refused(badCharacter, "File Server", {0})},
        {"Up-Low_x=9", Sent(nas + "fm_mkdir_apply&folder=Up%2DLow%5Fx%3D9&to_name=")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CreateFolderLogic::CreateFBtnClick({c.name}, address), c.outcome) << c.name;
}

TEST(RenameFBtnClick, ChecksTheNewNameThenSendsItAsFolder)
{
    const char* const badCharacter = "Only English characters or numbers accepted.";
    const struct {
        std::string oldName, newName;
        DialogOutcome outcome;
    } cases[] = {
        {"backup", "", Refused(Empty, "File Server", {})},
        {"backup", "abcdefghijklm", Refused(Over, "File Server", {1})},
        {"backup", "new name", Refused(badCharacter, "SMB Server", {1})},
        {"backup", "new!", Refused(badCharacter, "SMB Server", {1})},
        {"backup", "Archive_2", Sent(nas + "fm_rename_apply&folder=Archive%5F2&to_name=backup")},
        {"P\xFA" "blico x", "Public", Sent(nas + "fm_rename_apply&folder=Public&to_name=P%FAblico+x")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RenameFolderLogic::RenameFBtnClick({c.oldName, c.newName}, address), c.outcome) << c.newName;
}

TEST(PublicPassBtnClick, LengthThenMatchThenSends)
{
    const char* const differ = "New password entries do not match!";
    const std::vector<int> all{0, 1, 2};
    const struct {
        std::string folder, password, verification;
        DialogOutcome outcome;
    } cases[] = {
        {"public", "abcdefghijklm", "abcdefghijklm", Refused(Over, "File Server", all, all)},
        {"public", "short", "abcdefghijklm", Refused(Over, "File Server", all, all)},
        {"public", "abcdefghijklm", "other", Refused(Over, "File Server", all, all)}, // length first
        {"public", "Secret", "secret", Refused(differ, "File Server", all, all)},
        {"public", "", "", Sent(nas + "nas_mod&folder=public&password1=&password2=")},
        {"My Docs", "p&ss w", "p&ss w", Sent(nas + "nas_mod&folder=My+Docs&password1=p%26ss+w&password2=p%26ss+w")},
        {"public", "abcdefghijkl", "abcdefghijkl",
         Sent(nas + "nas_mod&folder=public&password1=abcdefghijkl&password2=abcdefghijkl")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SharePasswordLogic::PublicPassBtnClick({c.folder, c.password, c.verification}, address), c.outcome)
            << c.password << "/" << c.verification;
}
