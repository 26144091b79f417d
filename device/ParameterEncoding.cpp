#include "device/ParameterEncoding.h"

namespace {

bool StaysAsIs(unsigned char byte)
{
    return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

} // namespace

std::string EncodeParameter(const std::string& text)
{
    static constexpr char HexDigits[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size() * 3);
    for (const char character : text) {
        const auto byte = static_cast<unsigned char>(character);
        if (StaysAsIs(byte)) {
            encoded += character;
        } else if (byte == ' ') {
            encoded += '+';
        } else {
            encoded += '%';
            encoded += HexDigits[byte >> 4];
            encoded += HexDigits[byte & 0x0F];
        }
    }
    return encoded;
}

std::string KeepParameterWhole(const std::string& text)
{
    std::string kept;
    kept.reserve(text.size());
    for (const char byte : text) {
        switch (byte) {
        case '&': kept += "%26"; break;
        case '#': kept += "%23"; break;
        case '%': kept += "%25"; break;
        case '+': kept += "%2B"; break;
        default: kept += byte;
        }
    }
    return kept;
}
