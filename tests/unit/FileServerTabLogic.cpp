#include "ui/Menuform/FileServerTabLogic.h"

#include <gtest/gtest.h>

#include "support/StatusPageText.h"

using namespace FileServerTabLogic;
using Names = std::vector<std::string>;

namespace {

const std::string nas = "http://192.168.1.20/nas.cgi?redirect=smb.htm&failure=fail.htm&type=";

std::string Options(const Names& names)
{
    std::string value;
    for (const std::string& name : names)
        value += "<option value=\"" + name + "\">" + name + "</option>";
    return value;
}

Command WithRetry(const std::string& url) { return Command{url, "smb.htm", SendingMode::WithRetry, 3}; }

} // namespace

TEST(ReadFileServerTab, BothListsInPageOrder)
{
    const struct {
        Names folders, shared;
        Names shownFolders, shownShared;
    } cases[] = {
        {{"public", "Documents", "backup"}, {"public"}, {"public", "Documents", "backup"}, {"public"}},
        {{}, {}, {}, {}},
        {{"a", "", "a"}, {"a", "a"}, {"a", "", "a"}, {"a", "a"}},             // empty and repeated names kept
        {{"P\xC3\xBA" "blico"}, {}, {"P\xFA" "blico"}, {}},                   // in the code page
        {{"\xD0\xA4\xD0\xBE\xD1\x82\xD0\xBE"}, {}, {"????"}, {}},              // outside it
    };
    for (const auto& c : cases) {
        // The FTP folder list after it must not be taken for the folder list.
        const std::string page = StatusPageText(
            {{"share_list", Options(c.folders)}, {"allow_share", Options(c.shared)}, {"ftps_share_list", Options({"x"})}});
        const FileServerLists lists = ReadFileServerTab(page);
        EXPECT_EQ(lists.SMBFolderLB, c.shownFolders);
        EXPECT_EQ(lists.SMBPublicFolderLB, c.shownShared);
    }
    const FileServerLists unread = ReadFileServerTab("");
    EXPECT_TRUE(unread.SMBFolderLB.empty() && unread.SMBPublicFolderLB.empty());
}

TEST(ButtonsFor, EachStateEnablesItsButtons)
{
    // Create, Rename, Delete, Password, -->, <--
    const struct {
        ButtonState state;
        FileServerButtons enabled;
    } cases[] = {
        {ButtonState::Idle, {true, false, false, false, false, false}},
        {ButtonState::FolderSelected, {true, true, true, false, true, false}},
        {ButtonState::SharedFolderSelected, {false, false, false, true, false, true}},
        {ButtonState::AllDisabled, {false, false, false, false, false, false}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ButtonsFor(c.state), c.enabled) << static_cast<int>(c.state);
}

TEST(FileServerCommands, UrlsWithEncodedNames)
{
    const std::string address = "192.168.1.20";
    const struct {
        std::variant<Notice, Command> outcome;
        std::variant<Notice, Command> expected;
    } cases[] = {
        {MovetoPublicBtnClick("backup", address), WithRetry(nas + "nas_apply&share_list=backup&add=New")},
        {MovetoPublicBtnClick("abcdefghijkl", address), WithRetry(nas + "nas_apply&share_list=abcdefghijkl&add=New")},
        {MovetoPublicBtnClick("abcdefghijklm", address),
         Notice{"Over Maximum (12 characters).", false, "File Server", MessageIcon::Information}},
        {MovetoPublicBtnClick("P\xFA" "b lico&x", address),
         WithRetry(nas + "nas_apply&share_list=P%FAb+lico%26x&add=New")},
        {MovetoSMBBtnClick("a longer shared name", address),
         WithRetry(nas + "nas_apply&allow_share=a+longer+shared+name&del=Remove")},
        {ShowDeleteBtnClick("My-Dir", address), WithRetry(nas + "fm_rmdir_apply&folder=My%2DDir&to_name=")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.outcome, c.expected);
}

TEST(FileServerCommands, DeleteAsksFirst)
{
    const Notice question = DeleteQuestion();
    EXPECT_EQ(question.text, "Selected folder and its contents will be deleted!\nAre you sure?");
    EXPECT_TRUE(question.textLocalized);
    EXPECT_EQ(question.caption, "File Server");
    EXPECT_EQ(question.icon, MessageIcon::Question);
}
