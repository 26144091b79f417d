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
};

// What the command sender needs of the command client; tests script it.
class CommandTransport {
public:
    virtual ~CommandTransport() = default;
    virtual CommandResult CommandExchange(const std::string& url, const std::string& user,
                                          const std::string& password, const std::string& referer) = 0;
    // The longest wait for connecting and for each receive; nullopt: the default bound.
    virtual void SetTimeoutMs(std::optional<int> milliseconds) = 0;
    // Opens and closes a TCP connection to port 80 within the time-out.
    virtual bool ProbeConnection(const std::string& address) = 0;
};

// The process's HTTP/1.0 command client: keeps its time-out and its cookie
// between commands, follows redirects, pumps events while it waits.
class CommandClient final : public CommandTransport {
public:
    explicit CommandClient(EventPump pump = {});
    CommandResult CommandExchange(const std::string& url, const std::string& user, const std::string& password,
                                  const std::string& referer) override;
    void SetTimeoutMs(std::optional<int> milliseconds) override;
    bool ProbeConnection(const std::string& address) override;

    const std::optional<std::string>& cookie() const { return storedCookie; }
    std::optional<int> timeoutMs() const { return timeout; }

private:
    EventPump pump;
    std::optional<int> timeout;
    std::optional<std::string> storedCookie;
};
