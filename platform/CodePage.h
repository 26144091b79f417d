#pragma once

#include <string>
#include <string_view>

// Conversion between UTF-8 and the workstation's ANSI code page (the real one
// on Windows; Windows-1252 elsewhere). What the code page lacks becomes "?",
// invalid UTF-8 becomes U+FFFD first (and so "?").
std::string Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(std::string_view ansi);
