#include "platform/CodePage.h"

#ifdef _WIN32
#include <windows.h>

namespace {

std::wstring Widen(std::string_view text, UINT codePage)
{
    if (text.empty())
        return {};
    const int units = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), units);
    return wide;
}

std::string Narrow(const std::wstring& wide, UINT codePage)
{
    if (wide.empty())
        return {};
    // Without this a character the code page lacks may become a look-alike
    // ("A" for A-macron), a different name than the one typed; it must be "?".
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int bytes = WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                          nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), narrow.data(), bytes, nullptr,
                        nullptr);
    return narrow;
}

} // namespace

std::string Utf8ToAnsi(std::string_view utf8) { return Narrow(Widen(utf8, CP_UTF8), CP_ACP); }
std::string AnsiToUtf8(std::string_view ansi) { return Narrow(Widen(ansi, CP_ACP), CP_UTF8); }

#else

#include <array>
#include <cstdint>

namespace {

// Windows-1252 bytes 0x80..0x9F; the five unassigned bytes map to the C1
// control of the same value, as Windows does, so they survive a round trip.
constexpr std::array<char32_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t AnsiToCodePoint(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return HighControls[byte - 0x80];
    return byte;
}

char AnsiFromCodePoint(char32_t point)
{
    if (point < 0x80 || (point >= 0xA0 && point <= 0xFF))
        return static_cast<char>(point);
    for (std::size_t i = 0; i < HighControls.size(); ++i)
        if (HighControls[i] == point)
            return static_cast<char>(0x80 + i);
    return '?';
}

// Decodes one code point at text[i], advancing i; malformed input gives U+FFFD
// and consumes one byte (the maximal subpart rule is not needed: it becomes "?" anyway).
char32_t NextCodePoint(std::string_view text, std::size_t& i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    int length = 0;
    char32_t point = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        point = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        point = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        point = lead & 0x07;
        minimum = 0x10000;
    } else {
        ++i;
        return 0xFFFD;
    }
    if (i + length > text.size()) {
        ++i;
        return 0xFFFD;
    }
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        point = (point << 6) | (next & 0x3F);
    }
    if (point < minimum || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
        ++i;
        return 0xFFFD;
    }
    i += length;
    return point;
}

void AppendUtf8(std::string& out, char32_t point)
{
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

} // namespace

std::string Utf8ToAnsi(std::string_view utf8)
{
    // Every code point takes at least one byte and gives exactly one, so the
    // result fits in the input's size; writing in place keeps this hot loop
    // (the language file converts every line it reads) cheap.
    std::string out(utf8.size(), '\0');
    std::size_t length = 0;
    for (std::size_t i = 0; i < utf8.size();)
        out[length++] = AnsiFromCodePoint(NextCodePoint(utf8, i));
    out.resize(length);
    return out;
}

std::string AnsiToUtf8(std::string_view ansi)
{
    std::string out;
    out.reserve(ansi.size() * 2);
    for (const char byte : ansi)
        AppendUtf8(out, AnsiToCodePoint(static_cast<unsigned char>(byte)));
    return out;
}

#endif
