#include "platform/UdpEndpoint.h"

#include <stdexcept>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

// Many appliances answer one broadcast at the same moment; a roomy receive
// buffer keeps a burst of replies from being dropped before they are read.
constexpr int ReceiveBufferBytes = 2 * 1024 * 1024;

#ifdef _WIN32
using NativeSocket = SOCKET;
constexpr NativeSocket NoSocket = INVALID_SOCKET;

// The system's words for the error, as the POSIX build gives them, and its number.
std::string LastSocketError()
{
    const int code = WSAGetLastError();
    char* text = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<LPSTR>(&text), 0,
                                        nullptr);
    std::string words = length ? std::string(text, length) : "";
    if (text)
        LocalFree(text);
    while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == ' '))
        words.pop_back();
    const std::string number = "Winsock error " + std::to_string(code);
    return words.empty() ? number : words + " (" + number + ")";
}

void CloseSocket(NativeSocket s) { closesocket(s); }

// A port held with exclusive use refuses a second bind with "access denied".
bool LastErrorIsPortTaken()
{
    const int code = WSAGetLastError();
    return code == WSAEADDRINUSE || code == WSAEACCES;
}

void StartWinsock()
{
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    if (!started)
        throw std::runtime_error("Windows Sockets could not be started");
}

void MakeNonBlocking(NativeSocket s)
{
    u_long on = 1;
    ioctlsocket(s, FIONBIO, &on);
}

// Without this any other program could bind the same port beside us.
void HoldPortExclusively(NativeSocket s)
{
    BOOL on = TRUE;
    setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&on), sizeof on);
}
#else
using NativeSocket = int;
constexpr NativeSocket NoSocket = -1;

std::string LastSocketError() { return std::strerror(errno); }

void CloseSocket(NativeSocket s) { ::close(s); }

bool LastErrorIsPortTaken() { return errno == EADDRINUSE; }

void StartWinsock() {}

void MakeNonBlocking(NativeSocket s)
{
    const int flags = fcntl(s, F_GETFL, 0);
    fcntl(s, F_SETFL, flags | O_NONBLOCK);
    fcntl(s, F_SETFD, FD_CLOEXEC);
}

// POSIX binds a port exclusively as long as SO_REUSEADDR stays off.
void HoldPortExclusively(NativeSocket) {}
#endif

sockaddr_in MakeAddress(const std::string& address, std::uint16_t port)
{
    sockaddr_in where{};
    where.sin_family = AF_INET;
    where.sin_port = htons(port);
    if (inet_pton(AF_INET, address.c_str(), &where.sin_addr) != 1)
        throw std::runtime_error("Not an IPv4 address: " + address);
    return where;
}

std::string Dotted(const sockaddr_in& address)
{
    char dotted[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &address.sin_addr, dotted, sizeof dotted);
    return dotted;
}

} // namespace

UdpEndpoint::UdpEndpoint(std::uint16_t port, const std::string& bindAddress) : port_(port)
{
    StartWinsock();
    const sockaddr_in where = MakeAddress(bindAddress, port);
    const NativeSocket s = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (s == NoSocket)
        throw std::runtime_error("Could not open a UDP socket: " + LastSocketError());

    const int on = 1;
    setsockopt(s, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on), sizeof on);
    setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&ReceiveBufferBytes),
               sizeof ReceiveBufferBytes);
    HoldPortExclusively(s);
    if (::bind(s, reinterpret_cast<const sockaddr*>(&where), sizeof where) != 0) {
        const bool taken = LastErrorIsPortTaken();
        const std::string message = "Could not bind UDP port " + std::to_string(port) + ": " + LastSocketError();
        CloseSocket(s);
        if (taken)
            throw PortTakenError(message);
        throw std::runtime_error(message);
    }
    MakeNonBlocking(s);
    socket_ = s;
}

UdpEndpoint::~UdpEndpoint() { CloseSocket(static_cast<NativeSocket>(socket_)); }

bool UdpEndpoint::sendTo(const std::string& address, std::uint16_t port, const void* data, std::size_t size)
{
    sockaddr_in where{};
    try {
        where = MakeAddress(address, port);
    } catch (const std::runtime_error&) {
        return false;
    }
    const auto sent = ::sendto(static_cast<NativeSocket>(socket_), static_cast<const char*>(data),
                               static_cast<int>(size), 0, reinterpret_cast<const sockaddr*>(&where), sizeof where);
    return sent >= 0 && static_cast<std::size_t>(sent) == size;
}

std::optional<UdpEndpoint::Datagram> UdpEndpoint::receive()
{
    char buffer[MaxDatagramSize];
    sockaddr_in sender{};
    socklen_t senderSize = sizeof sender;
    for (;;) {
        const auto got = ::recvfrom(static_cast<NativeSocket>(socket_), buffer, static_cast<int>(sizeof buffer), 0,
                                    reinterpret_cast<sockaddr*>(&sender), &senderSize);
        if (got >= 0)
            return Datagram{std::string(buffer, static_cast<std::size_t>(got)), Dotted(sender), ntohs(sender.sin_port)};
#ifdef _WIN32
        // A datagram larger than the buffer arrives cut, as on POSIX; an
        // earlier send's ICMP error is no datagram at all.
        const int error = WSAGetLastError();
        if (error == WSAEMSGSIZE)
            return Datagram{std::string(buffer, sizeof buffer), Dotted(sender), ntohs(sender.sin_port)};
        if (error == WSAECONNRESET)
            continue;
        return std::nullopt;
#else
        if (errno == EINTR)
            continue;
        return std::nullopt;
#endif
    }
}
