#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "TestSockets.h"

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
        SetTestSocketOption(listener_, SOL_SOCKET, SO_REUSEADDR, yes);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener_, 16) != 0) {
            CloseTestSocket(listener_);
            throw std::runtime_error("cannot serve on 127.0.0.1:" + std::to_string(port));
        }
        thread_ = std::thread([this] { serve(); });
    }

    ~ScriptedPageServer()
    {
        stop_ = true;
        thread_.join();
        CloseTestSocket(listener_);
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
            if (!WaitReadable(listener_, 20))
                continue;
            const TestSocket connection = ::accept(listener_, nullptr, nullptr);
            if (connection == NoTestSocket)
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
                const auto n = ::send(connection, answer.data() + sent, static_cast<int>(answer.size() - sent),
                                      TestNoSignal);
                if (n <= 0)
                    break;
                sent += static_cast<std::size_t>(n);
            }
            CloseTestSocket(connection);
        }
    }

    static std::string readRequest(TestSocket connection)
    {
        std::string request;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        char buffer[2048];
        while (request.find("\r\n\r\n") == std::string::npos && std::chrono::steady_clock::now() < deadline) {
            if (!WaitReadable(connection, 50))
                continue;
            const auto n = ::recv(connection, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            request.append(buffer, static_cast<std::size_t>(n));
        }
        return request;
    }

    Reply reply_;
    TestSocket listener_ = NoTestSocket;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};
