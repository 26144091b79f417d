#pragma once

#include <string>
#include <variant>
#include <vector>

#include "app/Notice.h"
#include "device/Command.h"

namespace ModifyFtpTabLogic {

// The Modify FTP page's number; its commands name the account page.
constexpr int ModifyFtpPageNumber = 5;
constexpr const char* ModifyFtpPageName = "ftp_mod.htm";
// The longest password and shared folder name the appliance keeps.
constexpr std::size_t MostCharacters = 12;

// The display texts of a list's entries, each written as its text, a blank
// and the closing tag; an entry without that blank gives an empty text.
std::vector<std::string> ParseOptionTexts(const std::string& text);

// What a show of the page puts into its controls: the appliance's current account.
struct ModifyFtpValues {
    std::string ModFTPAccLabel;
    std::string ModFTPPassEdit;
    bool readOnly = false; // ModFTPReadRB, else ModFTPWriteRB
    std::vector<std::string> FTPSFLB;
    std::vector<std::string> FTPSSharLB;
};

ModifyFtpValues ReadModifyFtpTab(const std::string& page);

// Password and right of the account; a password over 12 characters is refused.
std::variant<Notice, Command> ModFTPBtnClick(const std::string& account, const std::string& password, bool readOnly,
                                             const std::string& address);
// Shares a folder with the account; a name over 12 characters is refused.
std::variant<Notice, Command> ModMovetoSharBtnClick(const std::string& account, const std::string& folder,
                                                    const std::string& address);
Command ModMovetoFolderBtnClick(const std::string& account, const std::string& sharedFolder,
                                const std::string& address);

// A question asked first; the command goes out only on OK.
struct ConfirmedCommand {
    Notice question;
    Command command;
};

ConfirmedCommand ModDelBtnClick(const std::string& folder, const std::string& address);

} // namespace ModifyFtpTabLogic
