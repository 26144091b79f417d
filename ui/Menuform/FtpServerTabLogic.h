#pragma once

#include <string>
#include <variant>
#include <vector>

#include "app/Notice.h"
#include "device/Command.h"

namespace FtpServerTabLogic {

// The FTP Server page's number, refreshed after the last refused send.
constexpr int FtpServerPageNumber = 4;
// The identifier that makes a new account the appliance's current one.
constexpr const char* NewAccountId = "255";

// One account, as one row of AccountLV; texts as the appliance wrote them.
struct FtpAccountRow {
    std::string userName;
    std::string password;
    std::string access;
    std::string state;
    std::string value; // the appliance's identifier of the account

    bool operator==(const FtpAccountRow&) const = default;
};

// The rows of an "ftp_ac_list" value. Each entry's text holds the user name
// padded to 21 columns with "&nbsp;", then the password and the access each
// followed by 11 of them, then the state. A name of 21 characters or more
// leaves no room for padding: it is taken to be followed by one "&nbsp;".
std::vector<FtpAccountRow> ParseAccountList(const std::string& text);

// What a show of the page puts into its controls.
struct FtpServerValues {
    bool serviceEnabled = false; // FTPStatusCB "Enable", else "Disable"
    std::string FTPPortEdit;
    bool anonymousEnabled = false;  // AnonyEnRB, else AnonyDisRB
    bool anonymousReadOnly = false; // AnonyReadORB, else AnonyWriteRB
    std::vector<std::string> AnonyHDCB;
    int homeIndex = -1; // the selected home folder; -1 with no folders
    std::vector<FtpAccountRow> AccountLV;
};

FtpServerValues ReadFtpServerTab(const std::string& page);

// 21, or 1025 to 65500.
bool IsValidPort(int port);

// The service state and the port as typed. A port that is no integer throws
// std::runtime_error with the application's error report text.
std::variant<Notice, Command> FTPStatusBtnClick(const std::string& statusEntry, const std::string& portText,
                                                const std::string& address);
Command AnonyBtnClick(bool anonymousEnabled, bool readOnly, const std::string& homeFolder,
                      const std::string& address);
// Makes a new account the appliance's current one, before the create dialog.
Command AccAddBtnClick(const std::string& address);
// Makes the row's account the current one, before the Modify FTP page.
Command AccModifyBtnClick(const std::string& value, const std::string& address);
// The appliance toggles the account by its row, counted from 0.
Command AccStatusBtnClick(int row, const std::string& address);
Command AccDelBtnClick(const std::string& value, const std::string& address);
Notice AccDelQuestion();

} // namespace FtpServerTabLogic
