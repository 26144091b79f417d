#include "platform/TcpSocket.h"

#include <cstring>

#include "platform/Clock.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#else
#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
using NativeSocket = SOCKET;
constexpr std::intptr_t NoSocket = static_cast<std::intptr_t>(INVALID_SOCKET);

// The socket library is started once and stays up for the life of the process.
bool StartSocketLibrary()
{
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

std::string SystemText(int code)
{
    char* text = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<LPSTR>(&text), 0,
                                        nullptr);
    std::string result = length ? std::string(text, length) : "Unknown error";
    if (text)
        LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
        result.pop_back();
    return result;
}

int LastSystemError() { return WSAGetLastError(); }
bool WouldBlock(int code) { return code == WSAEWOULDBLOCK || code == WSAEINPROGRESS; }
bool Interrupted(int code) { return code == WSAEINTR; }
// A connection the peer resets while we send counts as aborted, the same
// number the POSIX build gives, which callers take for a dropped upload.
int WinsockNumber(int code, bool sending) { return sending && code == WSAECONNRESET ? WSAECONNABORTED : code; }
std::string ErrorText(int code) { return SystemText(code); }
std::string WinsockText(int winsock) { return SystemText(winsock); }
// select rather than WSAPoll: WSAPoll does not report a refused connect on
// every Windows version, and the attempt would last until its time-out.
int WaitNative(SOCKET socket, bool writable, int timeoutMs)
{
    fd_set ready, failed;
    FD_ZERO(&ready);
    FD_ZERO(&failed);
    FD_SET(socket, &ready);
    FD_SET(socket, &failed);
    timeval limit{timeoutMs / 1000, timeoutMs % 1000 * 1000};
    return select(0, writable ? nullptr : &ready, writable ? &ready : nullptr, &failed,
                  timeoutMs < 0 ? nullptr : &limit);
}
void CloseNative(NativeSocket socket) { closesocket(socket); }
#else
using NativeSocket = int;
constexpr std::intptr_t NoSocket = -1;

bool StartSocketLibrary() { return true; }
int LastSystemError() { return errno; }
bool WouldBlock(int code) { return code == EINPROGRESS || code == EAGAIN || code == EWOULDBLOCK; }
bool Interrupted(int code) { return code == EINTR; }

// Windows Sockets numbers for the system's error codes, so that messages and
// callers' checks read the same on every platform.
struct ErrorPair {
    int system, winsock;
};
constexpr ErrorPair ErrorNumbers[] = {
    {EINTR, 10004}, {EBADF, 10009}, {EACCES, 10013}, {EFAULT, 10014}, {EINVAL, 10022},
    {EMFILE, 10024}, {EAGAIN, 10035}, {EINPROGRESS, 10036}, {EALREADY, 10037}, {ENOTSOCK, 10038},
    {EDESTADDRREQ, 10039}, {EMSGSIZE, 10040}, {EPROTOTYPE, 10041}, {ENOPROTOOPT, 10042},
    {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044}, {EOPNOTSUPP, 10045}, {EPFNOSUPPORT, 10046},
    {EAFNOSUPPORT, 10047}, {EADDRINUSE, 10048}, {EADDRNOTAVAIL, 10049}, {ENETDOWN, 10050},
    {ENETUNREACH, 10051}, {ENETRESET, 10052}, {ECONNABORTED, 10053}, {ECONNRESET, 10054},
    {ENOBUFS, 10055}, {EISCONN, 10056}, {ENOTCONN, 10057}, {ESHUTDOWN, 10058}, {ETOOMANYREFS, 10059},
    {ETIMEDOUT, 10060}, {ECONNREFUSED, 10061}, {ELOOP, 10062}, {ENAMETOOLONG, 10063},
    {EHOSTDOWN, 10064}, {EHOSTUNREACH, 10065},
};

// A connection that breaks while we are sending counts as aborted, as it
// does on Windows.
int WinsockNumber(int code, bool sending)
{
    if (sending && (code == EPIPE || code == ECONNRESET))
        return 10053;
    if (code == EPIPE)
        return 10058;
    for (const ErrorPair& pair : ErrorNumbers)
        if (pair.system == code)
            return pair.winsock;
    return code;
}

std::string ErrorText(int code) { return std::strerror(code); }

std::string WinsockText(int winsock)
{
    for (const ErrorPair& pair : ErrorNumbers)
        if (pair.winsock == winsock)
            return std::strerror(pair.system);
    return "Unknown error " + std::to_string(winsock);
}
int WaitNative(int socket, bool writable, int timeoutMs)
{
    pollfd entry{};
    entry.fd = socket;
    entry.events = writable ? POLLOUT : POLLIN;
    return ::poll(&entry, 1, timeoutMs);
}
void CloseNative(NativeSocket socket) { ::close(socket); }
#endif

NativeSocket Native(std::intptr_t handle) { return static_cast<NativeSocket>(handle); }

bool SetNonBlocking(NativeSocket socket)
{
#ifdef _WIN32
    u_long on = 1;
    return ioctlsocket(socket, FIONBIO, &on) == 0;
#else
    const int flags = fcntl(socket, F_GETFL, 0);
    return flags >= 0 && fcntl(socket, F_SETFL, flags | O_NONBLOCK) == 0;
#endif
}

} // namespace

std::string SocketErrorText(int code)
{
    return WinsockText(code);
}

std::optional<std::uint32_t> ResolveIPv4(const std::string& host, SocketError* failure)
{
    if (!StartSocketLibrary()) {
        if (failure)
            *failure = {10091, "The network subsystem is unavailable"};
        return std::nullopt;
    }
    in_addr dotted{};
    if (!host.empty() && inet_pton(AF_INET, host.c_str(), &dotted) == 1)
        return dotted.s_addr;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int result = host.empty() ? EAI_NONAME : getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (result != 0 || !found) {
        if (failure) {
#ifdef _WIN32
            *failure = {SocketErrorCode::HostNotFound, SystemText(SocketErrorCode::HostNotFound)};
#else
            *failure = {SocketErrorCode::HostNotFound, gai_strerror(result ? result : EAI_NONAME)};
#endif
        }
        if (found)
            freeaddrinfo(found);
        return std::nullopt;
    }
    const std::uint32_t address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(found);
    return address;
}

TcpSocket::~TcpSocket() { Close(); }

bool TcpSocket::IsOpen() const { return handle != NoSocket; }

void TcpSocket::Close()
{
    if (handle != NoSocket) {
        CloseNative(Native(handle));
        handle = NoSocket;
    }
}

void TcpSocket::Fail(int code, std::string text)
{
    error = {code, std::move(text)};
}

void TcpSocket::FailFromSystem(bool sending)
{
    const int code = LastSystemError();
    Fail(WinsockNumber(code, sending), ErrorText(code));
}

TcpSocket::Wait TcpSocket::WaitFor(bool writable, std::optional<int> timeoutMs, const EventPump& pump, int sliceMs)
{
    const std::int64_t deadline = timeoutMs ? MonotonicMs() + *timeoutMs : 0;
    for (;;) {
        int wait = -1;
        if (timeoutMs) {
            const std::int64_t left = deadline - MonotonicMs();
            wait = left > 0 ? static_cast<int>(left) : 0;
        }
        if (pump && (wait < 0 || wait > sliceMs))
            wait = sliceMs;
        const int ready = WaitNative(Native(handle), writable, wait);
        if (ready < 0) {
            if (Interrupted(LastSystemError()))
                continue;
            FailFromSystem(writable);
            return Wait::Failed;
        }
        if (ready > 0)
            return Wait::Ready;
        if (pump)
            pump();
        if (timeoutMs && MonotonicMs() >= deadline) {
            Fail(SocketErrorCode::TimedOut, WinsockText(SocketErrorCode::TimedOut));
            return Wait::TimedOut;
        }
    }
}

bool TcpSocket::Connect(const std::string& host, std::uint16_t port, std::optional<int> timeoutMs,
                        const EventPump& pump)
{
    Close();
    error = {};
    const auto address = ResolveIPv4(host, &error);
    if (!address)
        return false;
    const NativeSocket created = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    handle = static_cast<std::intptr_t>(created);
    if (handle == NoSocket) {
        FailFromSystem(false);
        return false;
    }
    if (!SetNonBlocking(created)) {
        FailFromSystem(false);
        Close();
        return false;
    }
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(port);
    target.sin_addr.s_addr = *address;
    if (::connect(created, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0) {
        if (!WouldBlock(LastSystemError())) {
            FailFromSystem(false);
            Close();
            return false;
        }
        if (WaitFor(true, timeoutMs, pump, 2) != Wait::Ready) {
            Close();
            return false;
        }
        int pending = 0;
        socklen_t length = sizeof pending;
        if (getsockopt(created, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&pending), &length) != 0) {
            FailFromSystem(false);
            Close();
            return false;
        }
        if (pending != 0) {
            Fail(WinsockNumber(pending, false), ErrorText(pending));
            Close();
            return false;
        }
    }
    return true;
}

bool TcpSocket::SendAll(std::string_view bytes, std::optional<int> idleTimeoutMs)
{
    if (!IsOpen()) {
        Fail(SocketErrorCode::NotConnected, WinsockText(SocketErrorCode::NotConnected));
        return false;
    }
    while (!bytes.empty()) {
#ifdef _WIN32
        const int chunk = bytes.size() > 1 << 20 ? 1 << 20 : static_cast<int>(bytes.size());
        const int sent = ::send(Native(handle), bytes.data(), chunk, 0);
#else
        const ssize_t sent = ::send(Native(handle), bytes.data(), bytes.size(), MSG_NOSIGNAL);
#endif
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
            continue;
        }
        if (sent < 0 && Interrupted(LastSystemError()))
            continue;
        if (sent < 0 && WouldBlock(LastSystemError())) {
            if (WaitFor(true, idleTimeoutMs, {}, 0) != Wait::Ready)
                return false;
            continue;
        }
        if (sent == 0)
            Fail(SocketErrorCode::ConnectionAborted, WinsockText(SocketErrorCode::ConnectionAborted));
        else
            FailFromSystem(true);
        return false;
    }
    return true;
}

std::ptrdiff_t TcpSocket::Receive(char* buffer, std::size_t capacity, std::optional<int> idleTimeoutMs,
                                  const EventPump& pump)
{
    if (!IsOpen()) {
        Fail(SocketErrorCode::NotConnected, WinsockText(SocketErrorCode::NotConnected));
        return -1;
    }
    const std::int64_t deadline = idleTimeoutMs ? MonotonicMs() + *idleTimeoutMs : 0;
    for (;;) {
#ifdef _WIN32
        const int got = ::recv(Native(handle), buffer, static_cast<int>(capacity > 1 << 30 ? 1 << 30 : capacity), 0);
#else
        const ssize_t got = ::recv(Native(handle), buffer, capacity, 0);
#endif
        // Taken before the pump runs: processing events makes system calls of
        // its own, and on Windows a successful one clears the last error, so
        // an answer not yet there would read as a failed receive.
        const int code = got < 0 ? LastSystemError() : 0;
        if (pump)
            pump();
        if (got >= 0)
            return got;
        if (Interrupted(code))
            continue;
        if (!WouldBlock(code)) {
            Fail(WinsockNumber(code, false), ErrorText(code));
            return -1;
        }
        std::optional<int> left;
        if (idleTimeoutMs) {
            const std::int64_t remaining = deadline - MonotonicMs();
            left = remaining > 0 ? static_cast<int>(remaining) : 0;
        }
        if (WaitFor(false, left, pump, 2) != Wait::Ready)
            return -1;
    }
}
