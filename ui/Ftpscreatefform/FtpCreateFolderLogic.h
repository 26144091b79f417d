#pragma once

#include <string>

#include "app/DialogOutcome.h"

// The create-folder dialog of the Modify FTP page: one name, a new folder on the disk.
namespace FtpCreateFolderLogic {

constexpr const char* Caption = "Modify FTP Account Folder List";
enum Field { FolderName };

DialogOutcome ModCreateFBtnClick(const DialogFields& fields, const std::string& address);

} // namespace FtpCreateFolderLogic
