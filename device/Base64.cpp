#include "device/Base64.h"

std::string Base64Encode(const unsigned char* bytes, std::size_t count)
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    text.reserve((count + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= count; i += 3) {
        const unsigned group = bytes[i] << 16 | bytes[i + 1] << 8 | bytes[i + 2];
        text += alphabet[group >> 18 & 63];
        text += alphabet[group >> 12 & 63];
        text += alphabet[group >> 6 & 63];
        text += alphabet[group & 63];
    }
    if (count - i == 1) {
        const unsigned group = bytes[i] << 16;
        text += alphabet[group >> 18 & 63];
        text += alphabet[group >> 12 & 63];
        text += "==";
    } else if (count - i == 2) {
        const unsigned group = bytes[i] << 16 | bytes[i + 1] << 8;
        text += alphabet[group >> 18 & 63];
        text += alphabet[group >> 12 & 63];
        text += alphabet[group >> 6 & 63];
        text += '=';
    }
    return text;
}

std::string Base64Encode(const std::string& bytes)
{
    return Base64Encode(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}
