#pragma once

#include <optional>
#include <string>

#include "app/DialogOutcome.h"

// The longest name a folder or account dialog takes.
inline constexpr std::size_t DialogNameMost = 12;

// Where a name dialog's fields stand in its field order.
struct DialogNameFields {
    int name = 0;
    std::optional<int> oldName; // the rename dialog's folder being renamed
};

// The checks of a trimmed name typed into a folder or account dialog, in
// order: not empty, at most 12 characters, not the old name (rename only,
// letter case counts), only name characters. The first that fails gives the
// refusal shown under `caption`, with the fields it empties and enables.
std::optional<DialogRefusal> ValidateDialogName(const std::string& name, const std::optional<std::string>& oldName,
                                                const std::string& caption, const DialogNameFields& fields);
