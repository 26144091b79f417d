#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/EventPump.h"

// How the last answer of one command exchange looked.
struct CommandResult {
    bool failed = false;
    std::int16_t replyStatus = 0;
    std::string replyHeader; // status line, header lines and the empty line, each with CR LF
    bool gaveUpOnRedirects = false; // still redirected after the most redirects one command may take
    std::string lastUrl;             // the URL whose answer this is: the command's or a redirect's
};

// What one answer of the command exchange said, read from the bytes received.
struct CommandAnswer {
    std::int16_t status = 0;                // 0 when the status line is missing or not a number
    std::string header;                     // status line, header lines, empty line, each with CR LF
    std::optional<std::string> location;    // redirect target, at most 256 characters
    std::optional<std::string> cookie;      // Set-Cookie value, at most 256 characters
};

// Parses an answer. connectionEnded: the peer closed the connection, so a last
// line without its line end still counts; after a broken connection it does not.
CommandAnswer ParseCommandAnswer(const std::string& received, bool connectionEnded);

// The second space-separated field of a status line as a decimal number, 0 if it is none.
std::int16_t ParseAnswerStatus(const std::string& statusLine);

// The request of one command GET, header lines in the appliance's order.
std::string BuildCommandRequest(const std::string& path, const std::string& hostText,
                                const std::optional<std::string>& cookie, const std::string& referer,
                                const std::string& user, const std::string& password);

// What the command sender needs of the command client; tests script it.
class CommandTransport {
public:
    virtual ~CommandTransport() = default;
    virtual CommandResult CommandExchange(const std::string& url, const std::string& user,
                                          const std::string& password, const std::string& referer) = 0;
    // The longest wait for connecting and for each receive; nullopt: the default bound
    // (DefaultTimeoutMs), so even the first command of the process cannot hang.
    virtual void SetTimeoutMs(std::optional<int> milliseconds) = 0;
    // Opens and closes a TCP connection to port 80 within the time-out.
    virtual bool ProbeConnection(const std::string& address) = 0;
};

// The process's HTTP/1.0 command client: keeps its time-out and its cookie
// between commands, follows redirects, pumps events while it waits.
class CommandClient final : public CommandTransport {
public:
    static constexpr int DefaultTimeoutMs = 10000;
    static constexpr int MaximumRedirects = 10;

    explicit CommandClient(EventPump pump = {});
    CommandResult CommandExchange(const std::string& url, const std::string& user, const std::string& password,
                                  const std::string& referer) override;
    void SetTimeoutMs(std::optional<int> milliseconds) override;
    bool ProbeConnection(const std::string& address) override;

    const std::optional<std::string>& cookie() const { return storedCookie; }
    std::optional<int> timeoutMs() const { return timeout; }

private:
    int EffectiveTimeoutMs() const { return timeout.value_or(DefaultTimeoutMs); }

    EventPump pump;
    std::optional<int> timeout;
    std::optional<std::string> storedCookie;
};
