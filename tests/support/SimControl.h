#pragma once
// Client of the fake appliance's control channel (plain HTTP/1.0, one
// request per connection). Every call gives up after a short time-out, so a
// test never hangs on a missing appliance.
//
//   SimControl sim("192.168.1.20:8080");
//   sim.post("/fault/trickle");
//   std::string name = sim.get("/state/host_name");
//   SimControl nas = SimControl::fromEnv("NAS1");   // reads SIM_NAS1_CONTROL

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "TestSockets.h"

class SimControl {
public:
    struct Reply {
        int status = 0;
        std::string body;
    };

    explicit SimControl(const std::string& hostPort, int timeoutMs = 3000)
        : m_timeoutMs(timeoutMs) {
        const auto colon = hostPort.rfind(':');
        m_host = colon == std::string::npos ? hostPort : hostPort.substr(0, colon);
        m_port = colon == std::string::npos ? 8080 : std::atoi(hostPort.c_str() + colon + 1);
    }

    // The appliance named NAME in with-appliances.sh (SIM_<NAME>_CONTROL).
    static SimControl fromEnv(const std::string& name, int timeoutMs = 3000) {
        const std::string variable = "SIM_" + name + "_CONTROL";
        const char* value = std::getenv(variable.c_str());
        if (value == nullptr || *value == '\0')
            throw std::runtime_error(variable + " is not set (run under tools/lab/with-appliances.sh)");
        return SimControl(value, timeoutMs);
    }

    const std::string& host() const { return m_host; }
    int port() const { return m_port; }

    // The body of a 200 answer; anything else throws.
    std::string get(const std::string& path) const { return expectOk("GET", path, request("GET", path)); }
    std::string post(const std::string& path, const std::string& body = std::string()) const {
        return expectOk("POST", path, request("POST", path, body));
    }

    // One exchange, whatever its status; throws only when no answer came.
    Reply request(const std::string& method, const std::string& path,
                  const std::string& body = std::string()) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_timeoutMs);
        Socket sock(::socket(AF_INET, SOCK_STREAM, 0));
        if (sock.fd == NoTestSocket) fail("socket");
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(m_port));
        if (::inet_pton(AF_INET, m_host.c_str(), &address.sin_addr) != 1)
            throw std::runtime_error("SimControl: not an IPv4 address: " + m_host);
        SetTestSocketNonBlocking(sock.fd);
        if (::connect(sock.fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            if (!TestSocketPending(TestSocketError())) fail("connect");
            waitFor(sock.fd, false, deadline, "connect");
            int error = 0;
            socklen_t size = sizeof error;
            ::getsockopt(sock.fd, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size);
            if (error != 0) fail("connect", error);
        }
        std::string text = method + " " + path + " HTTP/1.0\r\nContent-Length: " +
                           std::to_string(body.size()) + "\r\n\r\n" + body;
        for (size_t sent = 0; sent < text.size();) {
            waitFor(sock.fd, false, deadline, "send");
            const auto n = ::send(sock.fd, text.data() + sent, static_cast<int>(text.size() - sent), TestNoSignal);
            if (n < 0 && !TestSocketPending(TestSocketError())) fail("send");
            if (n > 0) sent += static_cast<size_t>(n);
        }
        std::string answer;
        char buffer[65536];
        for (;;) {
            waitFor(sock.fd, true, deadline, "receive");
            const auto n = ::recv(sock.fd, buffer, sizeof buffer, 0);
            if (n == 0) break;
            if (n < 0) {
                if (TestSocketPending(TestSocketError())) continue;
                fail("receive");
            }
            answer.append(buffer, static_cast<size_t>(n));
        }
        return parse(answer);
    }

private:
    struct Socket {
        TestSocket fd;
        explicit Socket(TestSocket f) : fd(f) {}
        ~Socket() { if (fd != NoTestSocket) CloseTestSocket(fd); }
        Socket(const Socket&) = delete;
        Socket& operator=(const Socket&) = delete;
    };

    [[noreturn]] void fail(const char* what, int error = TestSocketError()) const {
        throw std::runtime_error(std::string("SimControl ") + m_host + ":" + std::to_string(m_port) +
                                 ": " + what + ": " + TestSocketErrorText(error));
    }

    void waitFor(TestSocket fd, bool readable, std::chrono::steady_clock::time_point deadline,
                 const char* what) const {
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now()).count();
            if (left <= 0)
                throw std::runtime_error(std::string("SimControl ") + m_host + ":" + std::to_string(m_port) +
                                         ": " + what + ": timed out");
            if (readable ? WaitReadable(fd, static_cast<int>(left)) : WaitWritable(fd, static_cast<int>(left)))
                return;
        }
    }

    static Reply parse(const std::string& answer) {
        Reply reply;
        const auto end = answer.find("\r\n\r\n");
        const auto space = answer.find(' ');
        if (end == std::string::npos || space == std::string::npos)
            throw std::runtime_error("SimControl: malformed answer");
        reply.status = std::atoi(answer.c_str() + space + 1);
        reply.body = answer.substr(end + 4);
        return reply;
    }

    static std::string expectOk(const char* method, const std::string& path, const Reply& reply) {
        if (reply.status != 200)
            throw std::runtime_error(std::string("SimControl: ") + method + " " + path + " gave " +
                                     std::to_string(reply.status) + ": " + reply.body);
        return reply.body;
    }

    std::string m_host;
    int m_port = 8080;
    int m_timeoutMs;
};
