#include "app/DialogName.h"

#include <algorithm>

#include "app/TextRules.h"

std::optional<DialogRefusal> ValidateDialogName(const std::string& name, const std::optional<std::string>& oldName,
                                                const std::string& caption, const DialogNameFields& fields)
{
    const auto refusal = [&](const char* text, std::vector<int> cleared, std::vector<int> enabled) {
        return DialogRefusal{Notice{text, false, caption, MessageIcon::Information}, std::move(cleared),
                             std::move(enabled)};
    };
    if (name.empty())
        return refusal("Value is empty", {}, {});
    if (name.size() > DialogNameMost) {
        // The folder being renamed may then be typed as well.
        std::vector<int> enabled{fields.name};
        if (fields.oldName)
            enabled.push_back(*fields.oldName);
        return refusal("Over Maximum (12 characters).", {fields.name}, enabled);
    }
    if (oldName && name == *oldName)
        return refusal("New name entries do not match!", {fields.name}, {fields.name});
    if (!std::all_of(name.begin(), name.end(), IsNameCharacter))
        return refusal("Only alpha-numberic characters accepted (a-z, 0-9).", {fields.name}, {fields.name});
    return std::nullopt;
}
