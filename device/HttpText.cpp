#include "device/HttpText.h"

#include <cctype>

namespace {

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

std::optional<HttpUrl> SplitHttpUrl(const std::string& url)
{
    const std::size_t slashes = url.find("//");
    if (url.empty() || slashes == std::string::npos)
        return std::nullopt;
    if (slashes > 0 && Lower(url.substr(0, slashes)) == "https:")
        return std::nullopt;
    HttpUrl parts;
    const std::size_t hostStart = slashes + 2;
    const std::size_t pathStart = url.find('/', hostStart);
    parts.hostText = url.substr(hostStart, pathStart == std::string::npos ? std::string::npos : pathStart - hostStart);
    parts.path = pathStart == std::string::npos ? "/" : url.substr(pathStart);
    parts.host = parts.hostText;
    const std::size_t colon = parts.hostText.rfind(':');
    if (colon != std::string::npos) {
        const std::string digits = parts.hostText.substr(colon + 1);
        if (digits.empty() || digits.size() > 5)
            return std::nullopt;
        unsigned value = 0;
        for (char c : digits) {
            if (c < '0' || c > '9')
                return std::nullopt;
            value = value * 10 + static_cast<unsigned>(c - '0');
        }
        if (value == 0 || value > 65535)
            return std::nullopt;
        parts.port = static_cast<std::uint16_t>(value);
        parts.host = parts.hostText.substr(0, colon);
    }
    return parts;
}

std::string SafeRequestTarget(std::string_view path)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string target;
    target.reserve(path.size());
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F) {
            target += '%';
            target += hex[byte >> 4];
            target += hex[byte & 0x0F];
        } else {
            target += c;
        }
    }
    return target;
}
