#pragma once
// The language file lookup written the plain way (a cleared buffer and fgets
// for every piece, the conversion of every line), to check the program's
// faster reading against.

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/CodePage.h"

inline std::string LiteralLocalizeFromFile(const char* path, const std::string& english)
{
    std::FILE* file = std::fopen(path, "rb");
    if (!file)
        return english;
    std::string result;
    char buffer[1024];
    for (;;) {
        std::memset(buffer, 0, sizeof buffer);
        if (!std::fgets(buffer, sizeof buffer, file))
            break;
        const std::string line = Utf8ToAnsi(buffer);
        if (line.find(english) == std::string::npos) {
            result.clear();
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            break;
        if (line.substr(0, equals) != english) {
            result.clear();
            continue;
        }
        const std::string rest = line.substr(equals + 1);
        result = rest.size() > 2 ? rest.substr(0, rest.size() - 2) : std::string();
        break;
    }
    std::fclose(file);
    return result.empty() ? english : result;
}
