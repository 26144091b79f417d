#pragma once

#include <string>

// English user-interface text in, displayed text (ANSI bytes) out. Reads the
// file "language" in the working directory on every call; never fails.
std::string LocalizeText(const std::string& english);

// The same lookup on a named file, regardless of TranslationOn.
std::string LocalizeTextFromFile(const char* path, const std::string& english);
