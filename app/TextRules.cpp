#include "app/TextRules.h"

#include <charconv>

namespace {

bool IsBlankOrControl(char byte) { return static_cast<unsigned char>(byte) <= 0x20; }

} // namespace

std::string TrimText(const std::string& text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlankOrControl(text[first]))
        ++first;
    while (last > first && IsBlankOrControl(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

bool IsNameCharacter(char byte)
{
    return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z')
        || byte == '-' || byte == '_' || byte == '=';
}

std::optional<int> ReadDecimalInteger(const std::string& text)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    const auto isDigit = [](char byte) { return byte >= '0' && byte <= '9'; };
    if (begin != end && *begin == '+') {
        ++begin; // from_chars takes "-" but not "+"
        if (begin == end || !isDigit(*begin))
            return std::nullopt;
    }
    if (begin == end || !(*begin == '-' || isDigit(*begin)))
        return std::nullopt;
    int value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}
