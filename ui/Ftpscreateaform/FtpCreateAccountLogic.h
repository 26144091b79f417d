#pragma once

#include <string>

#include "app/DialogOutcome.h"

// The create-account dialog: one name, a new read-only account without a
// password; password, right and folders are changed on the Modify FTP page.
namespace FtpCreateAccountLogic {

constexpr const char* Caption = "FTP Server";
enum Field { AccountName };

DialogOutcome FTPAddAccBtnClick(const DialogFields& fields, const std::string& address);

} // namespace FtpCreateAccountLogic
