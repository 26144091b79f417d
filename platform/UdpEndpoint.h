#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

// The port is held by another socket already (another program, or another
// copy of this one).
class PortTakenError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One UDP socket bound to a port on all local addresses, allowed to
// broadcast, read without blocking. The port is held exclusively, so a
// second copy of the program fails to bind it.
class UdpEndpoint {
public:
    struct Datagram {
        std::string bytes;
        std::string senderAddress; // dotted IPv4
        std::uint16_t senderPort = 0;
    };

    // Throws std::runtime_error, with the reason, when the port cannot be
    // bound; PortTakenError when another socket holds it.
    explicit UdpEndpoint(std::uint16_t port, const std::string& bindAddress = "0.0.0.0");
    ~UdpEndpoint();
    UdpEndpoint(const UdpEndpoint&) = delete;
    UdpEndpoint& operator=(const UdpEndpoint&) = delete;

    // Sends from the bound socket, so the source port is the bound port.
    bool sendTo(const std::string& address, std::uint16_t port, const void* data, std::size_t size);

    // The next waiting datagram, or nothing when none is waiting.
    std::optional<Datagram> receive();

    // For a readiness notifier.
    std::intptr_t nativeHandle() const { return static_cast<std::intptr_t>(socket_); }
    std::uint16_t port() const { return port_; }

    static constexpr std::size_t MaxDatagramSize = 8192;

private:
#ifdef _WIN32
    std::uintptr_t socket_;
#else
    int socket_;
#endif
    std::uint16_t port_;
};
