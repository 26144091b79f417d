#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

// A web server on 127.0.0.1 that answers every request with a scripted reply
// and closes, on its own thread so that blocking clients on the GUI thread get
// their answer. Each read of a request is bounded in time.
class ScriptedPageServer {
public:
    using Reply = std::function<std::string(const std::string& request)>;

    explicit ScriptedPageServer(Reply reply, std::uint16_t port = 80)
        : reply_(std::move(reply))
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        const int yes = 1;
        ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener_, 16) != 0) {
            ::close(listener_);
            throw std::runtime_error("cannot serve on 127.0.0.1:" + std::to_string(port));
        }
        thread_ = std::thread([this] { serve(); });
    }

    ~ScriptedPageServer()
    {
        stop_ = true;
        thread_.join();
        ::close(listener_);
    }

    void setReply(Reply reply)
    {
        std::lock_guard lock(mutex_);
        reply_ = std::move(reply);
    }
    std::vector<std::string> requests() const
    {
        std::lock_guard lock(mutex_);
        return requests_;
    }
    int requestCount() const { return static_cast<int>(requests().size()); }
    void clear()
    {
        std::lock_guard lock(mutex_);
        requests_.clear();
    }

    static std::string Answer(int status, const std::string& reason, const std::string& body)
    {
        return "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\nContent-Type: text/html\r\n\r\n" + body;
    }

private:
    void serve()
    {
        while (!stop_) {
            pollfd waiting{listener_, POLLIN, 0};
            if (::poll(&waiting, 1, 20) <= 0)
                continue;
            const int connection = ::accept(listener_, nullptr, nullptr);
            if (connection < 0)
                continue;
            const std::string request = readRequest(connection);
            Reply reply;
            {
                std::lock_guard lock(mutex_);
                requests_.push_back(request);
                reply = reply_;
            }
            const std::string answer = reply(request);
            for (std::size_t sent = 0; sent < answer.size();) {
                const ssize_t n = ::send(connection, answer.data() + sent, answer.size() - sent, MSG_NOSIGNAL);
                if (n <= 0)
                    break;
                sent += static_cast<std::size_t>(n);
            }
            ::close(connection);
        }
    }

    static std::string readRequest(int connection)
    {
        std::string request;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        char buffer[2048];
        while (request.find("\r\n\r\n") == std::string::npos && std::chrono::steady_clock::now() < deadline) {
            pollfd readable{connection, POLLIN, 0};
            if (::poll(&readable, 1, 50) <= 0)
                continue;
            const ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            request.append(buffer, static_cast<std::size_t>(n));
        }
        return request;
    }

    Reply reply_;
    int listener_ = -1;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};
