#include "device/CommandExchange.h"

#include <cstdint>
#include <limits>

#include "device/Base64.h"
#include "device/HttpText.h"
#include "platform/TcpSocket.h"

namespace {

constexpr std::size_t MaximumPathLength = 256;
constexpr std::size_t MaximumHeaderValue = 256;
constexpr std::size_t ReceiveChunk = 4096;

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// The value of a header line whose first word is name (compared upper-cased):
// what follows that word and one space, cut to MaximumHeaderValue.
std::optional<std::string> HeaderValue(const std::string& line, const std::string& name)
{
    const std::size_t space = line.find(' ');
    const std::string word = line.substr(0, space);
    if (Upper(word) != name || space == std::string::npos)
        return std::nullopt;
    std::string value = line.substr(space + 1, MaximumHeaderValue);
    if (value.empty())
        return std::nullopt;
    return value;
}

// Where a redirect leads: a bare page name or a relative path stays on the
// same host, as does an absolute path; anything with a scheme is taken whole.
std::string RedirectUrl(const HttpUrl& current, const std::string& target)
{
    if (target.find("://") != std::string::npos)
        return target;
    if (target.front() == '/')
        return "http://" + current.hostText + target;
    return "http://" + current.hostText + "/" + target;
}

} // namespace

std::int16_t ParseAnswerStatus(const std::string& statusLine)
{
    const std::size_t first = statusLine.find(' ');
    if (first == std::string::npos)
        return 0;
    const std::size_t second = statusLine.find(' ', first + 1);
    const std::string field =
        statusLine.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
    std::size_t i = 0;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-'))
        negative = field[i++] == '-';
    if (i == field.size())
        return 0;
    int value = 0;
    for (; i < field.size(); ++i) {
        if (field[i] < '0' || field[i] > '9')
            return 0;
        value = value * 10 + (field[i] - '0');
        if (value > std::numeric_limits<std::int16_t>::max() + 1)
            return 0;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<std::int16_t>::max() || value < std::numeric_limits<std::int16_t>::min())
        return 0;
    return static_cast<std::int16_t>(value);
}

CommandAnswer ParseCommandAnswer(const std::string& received, bool connectionEnded)
{
    CommandAnswer answer;
    std::size_t start = 0;
    bool statusLineRead = false;
    while (start < received.size()) {
        const std::size_t end = received.find('\n', start);
        if (end == std::string::npos && !connectionEnded)
            break;
        std::string line = received.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? received.size() : end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!statusLineRead) {
            statusLineRead = true;
            answer.status = ParseAnswerStatus(line);
            answer.header += line + "\r\n";
            continue;
        }
        answer.header += line + "\r\n";
        if (line.empty())
            break;
        if (auto target = HeaderValue(line, "LOCATION:"))
            answer.location = std::move(target);
        else if (auto cookie = HeaderValue(line, "SET-COOKIE:"))
            answer.cookie = std::move(cookie);
    }
    return answer;
}

std::string BuildCommandRequest(const std::string& path, const std::string& hostText,
                                const std::optional<std::string>& cookie, const std::string& referer,
                                const std::string& user, const std::string& password)
{
    std::string request = "GET " + SafeRequestTarget(path) + " HTTP/1.0\r\n";
    request += "Host: " + hostText + "\r\n";
    request += "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n";
    request += "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n";
    if (cookie)
        request += "Cookie: " + *cookie + "\r\n";
    request += "Referer: " + referer + "\r\n";
    // An empty password is a password too: "user:" logs in like the page fetch does.
    if (!user.empty())
        request += "Authorization: Basic " + Base64Encode(user + ":" + password) + "\r\n";
    request += "Content-type: application/x-www-form-urlencoded\r\n";
    request += "\r\n";
    return request;
}

CommandClient::CommandClient(EventPump pump) : pump(std::move(pump)) {}

void CommandClient::SetTimeoutMs(std::optional<int> milliseconds)
{
    timeout = milliseconds;
}

CommandResult CommandClient::CommandExchange(const std::string& url, const std::string& user,
                                             const std::string& password, const std::string& referer)
{
    CommandResult result;
    std::string current = url;
    int redirects = 0;
    for (;;) {
        result.lastUrl = current;
        const auto parts = SplitHttpUrl(current);
        if (!parts) {
            result.failed = true;
            return result;
        }
        TcpSocket socket;
        if (!socket.Connect(parts->host, parts->port, EffectiveTimeoutMs(), pump) ||
            !socket.SendAll(BuildCommandRequest(parts->path.substr(0, MaximumPathLength), parts->hostText,
                                                storedCookie, referer, user, password),
                            EffectiveTimeoutMs())) {
            result.failed = true;
            return result;
        }
        result.replyStatus = 0;
        result.replyHeader.clear();
        std::string received;
        bool ended = false;
        char chunk[ReceiveChunk];
        for (;;) {
            const std::ptrdiff_t got = socket.Receive(chunk, sizeof chunk, EffectiveTimeoutMs(), pump);
            if (got < 0)
                break;
            if (got == 0) {
                ended = true;
                break;
            }
            received.append(chunk, static_cast<std::size_t>(got));
            if (received.size() >= MaximumAnswerBytes) {
                // Enough of an answer that never ends; what came is read as usual.
                received.resize(MaximumAnswerBytes);
                ended = true;
                break;
            }
        }
        socket.Close();
        // An answer cut off by a reset or a time-out, or a connection closed
        // before any answer, is no answer: its status and header are not kept.
        if (!ended || received.empty()) {
            result.failed = true;
            return result;
        }
        CommandAnswer answer = ParseCommandAnswer(received, ended);
        result.replyStatus = answer.status;
        result.replyHeader = std::move(answer.header);
        const bool redirect = result.replyStatus >= 300 && result.replyStatus <= 302;
        if (!redirect || !answer.location)
            return result;
        if (redirects == MaximumRedirects) {
            result.failed = true;
            result.gaveUpOnRedirects = true;
            return result;
        }
        ++redirects;
        if (answer.cookie)
            storedCookie = std::move(answer.cookie);
        current = RedirectUrl(*parts, *answer.location);
    }
}

bool CommandClient::ProbeConnection(const std::string& address)
{
    TcpSocket socket;
    const bool connected = socket.Connect(address, 80, EffectiveTimeoutMs(), pump);
    socket.Close();
    return connected;
}
