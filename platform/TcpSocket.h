#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/EventPump.h"

// A socket failure. code is a Windows Sockets error number on every platform
// (callers and users compare against those numbers); text is the system's
// description of the underlying error.
struct SocketError {
    int code = 0;
    std::string text;
};

namespace SocketErrorCode {
constexpr int Interrupted = 10004;
constexpr int InvalidArgument = 10022;
constexpr int NetworkDown = 10050;
constexpr int NetworkUnreachable = 10051;
constexpr int ConnectionAborted = 10053;
constexpr int ConnectionReset = 10054;
constexpr int NotConnected = 10057;
constexpr int TimedOut = 10060;
constexpr int ConnectionRefused = 10061;
constexpr int HostUnreachable = 10065;
constexpr int HostNotFound = 11001;
} // namespace SocketErrorCode

// An IPv4 TCP client connection. Every wait has an optional bound (nullopt:
// as long as the system allows) and may call an event pump while it waits,
// so a window thread that uses it stays responsive.
class TcpSocket {
public:
    TcpSocket() = default;
    ~TcpSocket();
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    // host: dotted IPv4 text, or a name that is looked up (first IPv4 address).
    // With a pump, it is called about every 2 ms until the connection is made.
    bool Connect(const std::string& host, std::uint16_t port, std::optional<int> timeoutMs,
                 const EventPump& pump = {});
    // Sends every byte; idleTimeoutMs bounds each wait for room to send.
    bool SendAll(std::string_view bytes, std::optional<int> idleTimeoutMs);
    // > 0: bytes received; 0: the peer closed the connection; -1: failure or
    // idle time-out (LastError()). With a pump, it is called after every
    // attempt to receive.
    std::ptrdiff_t Receive(char* buffer, std::size_t capacity, std::optional<int> idleTimeoutMs,
                           const EventPump& pump = {});
    void Close();

    bool IsOpen() const;
    const SocketError& LastError() const { return error; }

private:
    enum class Wait { Ready, TimedOut, Failed };
    Wait WaitFor(bool writable, std::optional<int> timeoutMs, const EventPump& pump, int sliceMs);
    void Fail(int code, std::string text);
    void FailFromSystem(bool sending);

    std::intptr_t handle = -1;
    SocketError error;
};

// The system's description of a Windows Sockets error number.
std::string SocketErrorText(int code);

// The first IPv4 address of host in network byte order, or the lookup failure.
std::optional<std::uint32_t> ResolveIPv4(const std::string& host, SocketError* failure = nullptr);
