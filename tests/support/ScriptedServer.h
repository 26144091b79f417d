#pragma once

// A TCP server on 127.0.0.1 for client tests: serves one scripted reply per
// accepted connection, in order, and records the raw bytes of every request.
// Every wait is bounded so a broken client cannot hang a test.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "support/TestSockets.h"

struct ScriptedReply {
    enum class After { Close, KeepOpen, Reset };
    std::string answer;                // sent once the request (and its body) arrived
    After after = After::Close;
    int keepOpenMs = 0;                // with KeepOpen: how long before closing anyway
    std::size_t dropAfterBytes = 0;    // > 0: reset the connection after reading this many bytes
    int delayMs = 0;                   // wait before answering
    std::vector<std::string> pieces;   // when set, sent one by one with pieceGapMs between
    int pieceGapMs = 0;
};

inline ScriptedReply Answer(std::string answer)
{
    ScriptedReply reply;
    reply.answer = std::move(answer);
    return reply;
}

// Answers (or stays silent with an empty answer), then holds the connection open.
inline ScriptedReply AnswerAndKeepOpen(std::string answer, int keepOpenMs)
{
    ScriptedReply reply = Answer(std::move(answer));
    reply.after = ScriptedReply::After::KeepOpen;
    reply.keepOpenMs = keepOpenMs;
    return reply;
}

class ScriptedServer {
public:
    ScriptedServer(std::uint16_t port, std::vector<ScriptedReply> replies, int backlog = 16)
        : replies(std::move(replies))
    {
        listener = ::socket(AF_INET, SOCK_STREAM, 0);
        int on = 1;
        SetTestSocketOption(listener, SOL_SOCKET, SO_REUSEADDR, on);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(listener, backlog) != 0)
            throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port));
        socklen_t length = sizeof address;
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
        boundPort = ntohs(address.sin_port);
        worker = std::thread([this] { Serve(); });
    }

    ~ScriptedServer()
    {
        stopping = true;
        worker.join();
        CloseTestSocket(listener);
    }

    std::uint16_t port() const { return boundPort; }

    std::vector<std::string> requests() const
    {
        std::lock_guard<std::mutex> lock(mutex);
        return received;
    }

    std::size_t connections() const { return accepted; }

    // Waits (bounded) until n connections were served.
    bool WaitServed(std::size_t n, int timeoutMs = 5000) const
    {
        for (int waited = 0; waited < timeoutMs; waited += 5) {
            if (served >= n)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return served >= n;
    }

private:
    bool Sleep(int ms)
    {
        for (int waited = 0; waited < ms; waited += 5) {
            if (stopping)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

    static void Reset(TestSocket fd)
    {
        linger hard{1, 0};
        SetTestSocketOption(fd, SOL_SOCKET, SO_LINGER, hard);
        CloseTestSocket(fd);
    }

    // Reads the request head and, with a Content-Length, its body.
    std::string ReadRequest(TestSocket fd, std::size_t dropAfter, bool& dropped)
    {
        std::string request;
        std::size_t wanted = std::string::npos;
        for (int idle = 0; idle < 5000 && !stopping;) {
            if (dropAfter && request.size() >= dropAfter) {
                dropped = true;
                break;
            }
            if (wanted != std::string::npos && request.size() >= wanted)
                break;
            if (!WaitReadable(fd, 10)) {
                idle += 10;
                continue;
            }
            char buffer[65536];
            std::size_t room = sizeof buffer;
            if (dropAfter && dropAfter - request.size() < room)
                room = dropAfter - request.size();
            const ssize_t got = recv(fd, buffer, room, 0);
            if (got <= 0)
                break;
            idle = 0;
            request.append(buffer, static_cast<std::size_t>(got));
            const std::size_t headEnd = request.find("\r\n\r\n");
            if (wanted == std::string::npos && headEnd != std::string::npos) {
                wanted = headEnd + 4;
                const std::size_t length = request.find("Content-Length: ");
                if (length != std::string::npos && length < headEnd)
                    wanted += std::stoul(request.substr(length + 16));
            }
        }
        return request;
    }

    void Serve()
    {
        for (const ScriptedReply& reply : replies) {
            TestSocket fd = NoTestSocket;
            while (!stopping && fd == NoTestSocket) {
                if (WaitReadable(listener, 10))
                    fd = accept(listener, nullptr, nullptr);
            }
            if (fd == NoTestSocket)
                return;
            ++accepted;
            bool dropped = false;
            const std::string request = ReadRequest(fd, reply.dropAfterBytes, dropped);
            {
                std::lock_guard<std::mutex> lock(mutex);
                received.push_back(request);
            }
            if (dropped) {
                Reset(fd);
                ++served;
                continue;
            }
            Sleep(reply.delayMs);
            if (!reply.answer.empty())
                send(fd, reply.answer.data(), reply.answer.size(), TestNoSignal);
            for (const std::string& piece : reply.pieces) {
                if (!Sleep(reply.pieceGapMs))
                    break;
                send(fd, piece.data(), piece.size(), TestNoSignal);
            }
            if (reply.after == ScriptedReply::After::KeepOpen)
                Sleep(reply.keepOpenMs);
            if (reply.after == ScriptedReply::After::Reset)
                Reset(fd);
            else
                CloseTestSocket(fd);
            ++served;
        }
    }

    std::vector<ScriptedReply> replies;
    TestSocket listener = NoTestSocket;
    std::uint16_t boundPort = 0;
    std::thread worker;
    std::atomic<bool> stopping{false};
    std::atomic<std::size_t> accepted{0};
    std::atomic<std::size_t> served{0};
    mutable std::mutex mutex;
    std::vector<std::string> received;
};
