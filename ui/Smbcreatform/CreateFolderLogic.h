#pragma once

#include <optional>
#include <string>

#include "app/DialogOutcome.h"

namespace CreateFolderLogic {

// The create-folder dialog's fields, in order.
enum Field { FoldernameEdit };

// The checks of a typed new folder name, in order: empty (the field kept),
// over 12 bytes, then a byte that is no name character (both clearing
// `field`, the last with the dialog's own notice). Nothing when accepted.
std::optional<DialogRefusal> CheckNewFolderName(const std::string& name, int field, const Notice& badCharacter);

// "Set": the trimmed name refused, or the folder created.
DialogOutcome CreateFBtnClick(const DialogFields& fields, const std::string& address);

} // namespace CreateFolderLogic
