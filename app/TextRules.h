#pragma once

#include <optional>
#include <string>

// Small text rules shared by the tabs and dialogs, all on ANSI bytes.

// Removes leading and trailing bytes of value 0x20 or less (blanks and control characters).
std::string TrimText(const std::string& text);

// Digits, ASCII letters, "-", "_" and "=": what a typed host, group, folder or account name may hold.
bool IsNameCharacter(char byte);

// A whole text of decimal digits with an optional sign, within int range; nothing otherwise.
std::optional<int> ReadDecimalInteger(const std::string& text);
