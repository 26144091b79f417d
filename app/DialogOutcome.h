#pragma once

#include <string>
#include <variant>
#include <vector>

#include "app/Notice.h"
#include "device/Command.h"

// What a small dialog's "Set" comes to: a refused input, with what the
// refusal does to the dialog's fields, or the one command to send.
struct DialogRefusal {
    Notice notice;
    std::vector<int> clearedFields; // by their place in the dialog's field order
    std::vector<int> enabledFields;

    bool operator==(const DialogRefusal&) const = default;
};

using DialogOutcome = std::variant<DialogRefusal, Command>;

// The dialog's fields, in its order, as trimmed ANSI texts.
using DialogFields = std::vector<std::string>;
