#pragma once

#include <string>
#include <variant>
#include <vector>

#include "app/Notice.h"
#include "device/Command.h"

namespace FileServerTabLogic {

// The File Server page's number; its commands and its dialogs' commands
// name the appliance's file server page.
constexpr int FileServerPageNumber = 3;
constexpr const char* FileServerPageName = "smb.htm";
// The longest folder name the appliance shares, in ANSI bytes.
constexpr std::size_t LongestSharedName = 12;

// The two lists a show of the page fills, in the appliance's order.
struct FileServerLists {
    std::vector<std::string> SMBFolderLB;
    std::vector<std::string> SMBPublicFolderLB;
};

FileServerLists ReadFileServerTab(const std::string& page);

// What the six buttons allow, by which list has a selection.
enum class ButtonState {
    Idle,                // shown, or a change or dialog finished: only "Create"
    FolderSelected,      // "Create", "Rename", "Delete", "-->"
    SharedFolderSelected, // "<--", "Password"
    AllDisabled,         // a button's action under way, a dialog open, a refused share
};

struct FileServerButtons {
    bool ShowCreateBtn = false;
    bool ShowRenameBtn = false;
    bool ShowDeleteBtn = false;
    bool ShowPublicPassBtn = false;
    bool MovetoPublicBtn = false;
    bool MovetoSMBBtn = false;

    bool operator==(const FileServerButtons&) const = default;
};

FileServerButtons ButtonsFor(ButtonState state);

// "-->": a name over 12 bytes is refused, otherwise the folder is shared.
std::variant<Notice, Command> MovetoPublicBtnClick(const std::string& folder, const std::string& address);
// "<--": the shared folder stops being shared.
Command MovetoSMBBtnClick(const std::string& folder, const std::string& address);

// "Delete": the question asked first; the command goes out only on OK.
Notice DeleteQuestion();
Command ShowDeleteBtnClick(const std::string& folder, const std::string& address);

// A command of this page or of its dialogs: sent with retry, the page refreshed after the last failed send.
Command FileServerCommand(const std::string& type, const std::string& parameters, const std::string& address);

} // namespace FileServerTabLogic
