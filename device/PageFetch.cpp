#include "device/PageFetch.h"

#include <climits>
#include <cstring>

#include "device/Base64.h"
#include "device/HttpText.h"
#include "platform/TcpSocket.h"

namespace {

// The appliance answers within a moment; these bounds only keep a silent or
// never-closing appliance from freezing the window for ever.
constexpr int ConnectTimeoutMs = 3000;
constexpr int IdleReceiveTimeoutMs = 5000;
constexpr std::size_t ReceiveChunk = 1465;

// Finds an upper-case ASCII needle in text regardless of the letter case of
// text, without copying text (a page is large and freshly received).
std::size_t FindIgnoringCase(const std::string& text, const char* upperNeedle, std::size_t length)
{
    if (text.size() < length)
        return std::string::npos;
    const char first = upperNeedle[0];
    const char firstLower = first >= 'A' && first <= 'Z' ? static_cast<char>(first - 'A' + 'a') : first;
    for (std::size_t at = 0; at + length <= text.size(); ++at) {
        const char c = text[at];
        if (c != first && c != firstLower)
            continue;
        std::size_t k = 1;
        for (; k < length; ++k) {
            char t = text[at + k];
            if (t >= 'a' && t <= 'z')
                t = static_cast<char>(t - 'a' + 'A');
            if (t != upperNeedle[k])
                break;
        }
        if (k == length)
            return at;
    }
    return std::string::npos;
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads a decimal integer as "%d" does: white space, an optional sign, digits.
// A number beyond the 32-bit range counts as unreadable.
bool ReadDecimal(const std::string& text, std::size_t position, std::int32_t& value)
{
    while (position < text.size() && IsSpace(text[position]))
        ++position;
    bool negative = false;
    if (position < text.size() && (text[position] == '+' || text[position] == '-'))
        negative = text[position++] == '-';
    long long number = 0;
    bool any = false;
    while (position < text.size() && text[position] >= '0' && text[position] <= '9') {
        number = number * 10 + (text[position++] - '0');
        any = true;
        if (number > static_cast<long long>(INT_MAX) + 1)
            return false;
    }
    if (!any)
        return false;
    if (negative)
        number = -number;
    if (number > INT_MAX || number < INT_MIN)
        return false;
    value = static_cast<std::int32_t>(number);
    return true;
}

} // namespace

RawPage ReceiveRawPage(const std::string& host, const std::string& user, const std::string& password,
                       const std::string& path)
{
    RawPage page;
    TcpSocket socket;
    if (!socket.Connect(host, 80, ConnectTimeoutMs))
        return page;
    const std::string request = "GET " + SafeRequestTarget(path) + " HTTP/1.1\r\nHost:" + host +
                                "\r\nConnection: Keep-Alive\r\nAuthorization: Basic " +
                                Base64Encode(user + ":" + password) + "\r\n\r\n";
    if (!socket.SendAll(request, IdleReceiveTimeoutMs))
        return page;
    char chunk[ReceiveChunk];
    for (;;) {
        const std::ptrdiff_t got = socket.Receive(chunk, sizeof chunk, IdleReceiveTimeoutMs);
        if (got <= 0)
            break;
        const void* nul = std::memchr(chunk, '\0', static_cast<std::size_t>(got));
        const std::size_t usable = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - chunk)
                                       : static_cast<std::size_t>(got);
        page.text.append(chunk, usable);
        if (page.text.size() >= MaximumAnswerBytes) {
            page.text.resize(MaximumAnswerBytes);
            break;
        }
    }
    page.completed = 1;
    return page;
}

namespace {

// Where the body starts (npos: no page) and the status, shared by both forms of the split.
std::size_t SplitPoint(const std::string& text, int completed, std::int32_t& status)
{
    status = 0;
    if (text.empty())
        return std::string::npos;
    const std::size_t marker = FindIgnoringCase(text, "<HTML>", 6);
    if (marker == std::string::npos)
        return marker;
    status = completed;
    const std::size_t version = FindIgnoringCase(text, "HTTP/", 5);
    if (version == std::string::npos)
        return marker;
    const std::size_t space = text.find(' ', version);
    if (space == std::string::npos)
        return marker;
    std::int32_t code = 0;
    if (ReadDecimal(text, space + 1, code))
        status = code;
    return marker;
}

} // namespace

PageResponse SplitPageResponse(const std::string& text, int completed)
{
    PageResponse response;
    const std::size_t marker = SplitPoint(text, completed, response.status);
    if (marker == std::string::npos)
        return response;
    response.header = text.substr(0, marker);
    response.body = text.substr(marker);
    return response;
}

PageResponse SplitPageResponse(std::string&& text, int completed)
{
    PageResponse response;
    const std::size_t marker = SplitPoint(text, completed, response.status);
    if (marker == std::string::npos)
        return response;
    response.header = text.substr(0, marker);
    text.erase(0, marker);
    response.body = std::move(text);
    return response;
}

PageResponse FetchPage(const std::string& host, const std::string& user, const std::string& password,
                       const std::string& path)
{
    RawPage raw = ReceiveRawPage(host, user, password, path);
    return SplitPageResponse(std::move(raw.text), raw.completed);
}
