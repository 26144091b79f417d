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

std::string Upper(const std::string& text)
{
    std::string copy = text;
    for (char& c : copy)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return copy;
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

PageResponse SplitPageResponse(const std::string& text, int completed)
{
    PageResponse response;
    if (text.empty())
        return response;
    const std::string upper = Upper(text);
    const std::size_t marker = upper.find("<HTML>");
    if (marker == std::string::npos)
        return response;
    response.header = text.substr(0, marker);
    response.body = text.substr(marker);
    response.status = completed;
    const std::size_t version = upper.find("HTTP/");
    if (version == std::string::npos)
        return response;
    const std::size_t space = upper.find(' ', version);
    if (space == std::string::npos)
        return response;
    std::int32_t code = 0;
    if (ReadDecimal(text, space + 1, code))
        response.status = code;
    return response;
}

PageResponse FetchPage(const std::string& host, const std::string& user, const std::string& password,
                       const std::string& path)
{
    const RawPage raw = ReceiveRawPage(host, user, password, path);
    return SplitPageResponse(raw.text, raw.completed);
}
