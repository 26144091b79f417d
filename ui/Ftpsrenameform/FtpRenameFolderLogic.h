#pragma once

#include <string>

#include "app/DialogOutcome.h"

// The rename-folder dialog of the Modify FTP page: the folder picked there,
// and its new name.
namespace FtpRenameFolderLogic {

constexpr const char* Caption = "Modify FTP Account Folder List";
enum Field { OldName, NewName };

DialogOutcome ModRenameFBtnClick(const DialogFields& fields, const std::string& address);

} // namespace FtpRenameFolderLogic
