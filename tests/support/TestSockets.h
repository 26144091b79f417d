#pragma once

// The few socket calls the test servers make, the same on POSIX and on
// Windows (where they need the socket library started and differ in types).

#include <cstdint>
#include <string>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>

using TestSocket = SOCKET;
constexpr TestSocket NoTestSocket = INVALID_SOCKET;
// Windows raises no signal for a send on a broken connection.
constexpr int TestNoSignal = 0;

// Started before any test builds a server; it stays up for the process.
inline const bool TestSocketsStarted = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}();

inline void CloseTestSocket(TestSocket s) { closesocket(s); }

// Wine runs the Windows build on Linux, with a few differences of its own.
inline bool RunningUnderWine()
{
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}
inline bool WaitReadable(TestSocket s, int timeoutMs)
{
    WSAPOLLFD entry{s, POLLRDNORM, 0};
    return WSAPoll(&entry, 1, timeoutMs) > 0;
}
inline bool WaitWritable(TestSocket s, int timeoutMs)
{
    WSAPOLLFD entry{s, POLLWRNORM, 0};
    return WSAPoll(&entry, 1, timeoutMs) > 0;
}
inline void SetTestSocketNonBlocking(TestSocket s)
{
    u_long on = 1;
    ioctlsocket(s, FIONBIO, &on);
}
// The last socket error and whether it only means "not yet".
inline int TestSocketError() { return WSAGetLastError(); }
inline bool TestSocketPending(int error)
{
    return error == WSAEWOULDBLOCK || error == WSAEINPROGRESS || error == WSAEINTR;
}
inline std::string TestSocketErrorText(int error) { return "Winsock error " + std::to_string(error); }
#else
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

inline bool RunningUnderWine() { return false; }

using TestSocket = int;
constexpr TestSocket NoTestSocket = -1;
constexpr int TestNoSignal = MSG_NOSIGNAL;

inline void CloseTestSocket(TestSocket s) { ::close(s); }
inline bool WaitReadable(TestSocket s, int timeoutMs)
{
    pollfd entry{s, POLLIN, 0};
    return ::poll(&entry, 1, timeoutMs) > 0;
}
inline bool WaitWritable(TestSocket s, int timeoutMs)
{
    pollfd entry{s, POLLOUT, 0};
    return ::poll(&entry, 1, timeoutMs) > 0;
}
inline void SetTestSocketNonBlocking(TestSocket s) { fcntl(s, F_SETFL, fcntl(s, F_GETFL, 0) | O_NONBLOCK); }
inline int TestSocketError() { return errno; }
inline bool TestSocketPending(int error) { return error == EAGAIN || error == EWOULDBLOCK || error == EINPROGRESS || error == EINTR; }
inline std::string TestSocketErrorText(int error) { return std::strerror(error); }
#endif

// Wine closes with a FIN even after a zero linger, so under it a test
// server cannot reset a connection it has read to the end.
#define REQUIRE_RESETTING_CLOSE()                                                                                  \
    do {                                                                                                           \
        if (RunningUnderWine())                                                                                    \
            GTEST_SKIP() << "wine does not reset a connection closed with a zero linger";                          \
    } while (false)

template <typename Value>
int SetTestSocketOption(TestSocket s, int level, int name, const Value& value)
{
    return ::setsockopt(s, level, name, reinterpret_cast<const char*>(&value), sizeof value);
}

// Starts a connection to 127.0.0.1:port and returns without waiting for it.
inline TestSocket StartLoopbackConnect(std::uint16_t port)
{
    const TestSocket s = ::socket(AF_INET, SOCK_STREAM, 0);
    SetTestSocketNonBlocking(s);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    return s;
}
