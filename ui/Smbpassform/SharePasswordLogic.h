#pragma once

#include <string>

#include "app/DialogOutcome.h"

namespace SharePasswordLogic {

// The share-password dialog's fields, in order.
enum Field { PublicFolderEdit, PublicPassEdit, VerifyPassEdit };

// "Set": either password over 12 bytes, or two that differ, is refused and
// empties and enables every field, the folder's too; otherwise the folder's
// password is set (two empty ones included).
DialogOutcome PublicPassBtnClick(const DialogFields& fields, const std::string& address);

} // namespace SharePasswordLogic
