#pragma once

#include <string>

#include "app/DialogOutcome.h"

namespace RenameFolderLogic {

// The rename-folder dialog's fields, in order.
enum Field { OldFoldernameEdit, NewFoldernameEdit };

// "Set": the trimmed new name refused, or the folder renamed (the new name
// goes as "folder", the old one as "to_name").
DialogOutcome RenameFBtnClick(const DialogFields& fields, const std::string& address);

} // namespace RenameFolderLogic
