#include "platform/TcpSocket.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/Clock.h"
#include "support/PrivateNetwork.h"
#include "support/ScriptedServer.h"

namespace {

// Fills a listener's queue so that further connection attempts go unanswered.
struct FullQueue {
    ScriptedServer server{0, {}, 0};
    std::vector<TestSocket> fillers;
    FullQueue()
    {
        for (int i = 0; i < 4; ++i) {
            fillers.push_back(StartLoopbackConnect(server.port()));
        }
        SleepMs(50);
    }
    ~FullQueue()
    {
        for (TestSocket fd : fillers)
            CloseTestSocket(fd);
    }
};

TEST(TcpSocket, ConnectFailuresCarryWindowsSocketsNumbers)
{
    REQUIRE_PRIVATE_NETWORK();
    struct Case {
        const char* name;
        std::string host;
        std::uint16_t port;
        int code;
    };
    const std::vector<Case> cases = {
        {"refused", "127.0.0.1", 1, 10061},
        {"no route", "10.20.30.40", 80, 10051},
        {"unknown name", "no-such-host.invalid", 80, 11001},
        {"empty host", "", 80, 11001},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TcpSocket socket;
        EXPECT_FALSE(socket.Connect(c.host, c.port, 1000));
        EXPECT_EQ(socket.LastError().code, c.code);
        EXPECT_FALSE(socket.LastError().text.empty());
        EXPECT_FALSE(socket.IsOpen());
    }
}

TEST(TcpSocket, ConnectTimesOutAndPumpsEveryTwoMilliseconds)
{
    FullQueue queue;
    int pumped = 0;
    TcpSocket socket;
    const std::int64_t start = MonotonicMs();
    EXPECT_FALSE(socket.Connect("127.0.0.1", queue.server.port(), 300, [&] { ++pumped; }));
    const std::int64_t elapsed = MonotonicMs() - start;
    EXPECT_EQ(socket.LastError().code, 10060);
    EXPECT_GE(elapsed, 290);
    EXPECT_LT(elapsed, 600);
    // Slices of 2 ms: at most about 150 calls, and many even on a busy machine.
    EXPECT_GE(pumped, 30);
    EXPECT_LE(pumped, 160);
}

TEST(TcpSocket, ReceiveTimesOutAndPumpsAfterEveryAttempt)
{
    ScriptedServer server(0, {AnswerAndKeepOpen("", 3000)});
    TcpSocket socket;
    ASSERT_TRUE(socket.Connect("127.0.0.1", server.port(), 1000));
    ASSERT_TRUE(socket.SendAll("x\r\n\r\n", 1000));
    int pumped = 0;
    char buffer[16];
    const std::int64_t start = MonotonicMs();
    EXPECT_EQ(socket.Receive(buffer, sizeof buffer, 200, [&] { ++pumped; }), -1);
    const std::int64_t elapsed = MonotonicMs() - start;
    EXPECT_EQ(socket.LastError().code, 10060);
    EXPECT_GE(elapsed, 190);
    EXPECT_LT(elapsed, 500);
    EXPECT_GE(pumped, 40);

    const std::int64_t again = MonotonicMs();
    EXPECT_EQ(socket.Receive(buffer, sizeof buffer, 100), -1);
    EXPECT_GE(MonotonicMs() - again, 90);
}

// What an event pump leaves behind: system calls of its own, which may clear
// the error number or leave another call's failure there.
void LeaveLastSystemError(int code)
{
#ifdef _WIN32
    WSASetLastError(code);
#else
    errno = code;
#endif
}

// An answer that is not there yet is waited for, whatever the pump that runs
// between the attempts does to the error number.
TEST(TcpSocket, ReceiveWaitsForALateAnswerWhateverThePumpLeaves)
{
    const struct {
        const char* what;
        int leftByPump;
    } cases[] = {
        {"nothing touched", -1},
        {"error cleared", 0},
        {"another call's failure", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedReply late = Answer("late");
        late.delayMs = 150;
        ScriptedServer server(0, {late});
        TcpSocket socket;
        ASSERT_TRUE(socket.Connect("127.0.0.1", server.port(), 1000));
        ASSERT_TRUE(socket.SendAll("GET\r\n\r\n", 1000));
        const EventPump pump = [&] {
            if (c.leftByPump >= 0)
                LeaveLastSystemError(c.leftByPump);
        };
        char buffer[16];
        const std::ptrdiff_t got = socket.Receive(buffer, sizeof buffer, 2000, pump);
        EXPECT_EQ(got > 0 ? std::string(buffer, static_cast<std::size_t>(got))
                          : "failed with " + std::to_string(socket.LastError().code),
                  "late");
        EXPECT_EQ(socket.Receive(buffer, sizeof buffer, 2000, pump), 0);
    }
}

TEST(TcpSocket, ReceivesUntilThePeerCloses)
{
    ScriptedServer server(0, {Answer("hello")});
    TcpSocket socket;
    ASSERT_TRUE(socket.Connect("localhost", server.port(), 1000));
    ASSERT_TRUE(socket.SendAll("GET\r\n\r\n", 1000));
    std::string text;
    char buffer[2];
    std::ptrdiff_t got;
    while ((got = socket.Receive(buffer, sizeof buffer, 1000)) > 0)
        text.append(buffer, static_cast<std::size_t>(got));
    EXPECT_EQ(got, 0);
    EXPECT_EQ(text, "hello");
    socket.Close();
    EXPECT_FALSE(socket.IsOpen());
    EXPECT_EQ(socket.Receive(buffer, sizeof buffer, 10), -1);
    EXPECT_EQ(socket.LastError().code, 10057);
    EXPECT_FALSE(socket.SendAll("x", 10));
}

// A peer that drops the connection: while we send it is an aborted
// connection, while we wait for an answer a reset one.
TEST(TcpSocket, DroppedConnectionWhileSendingIsAbortedWhileReceivingReset)
{
    {
        ScriptedReply drop;
        drop.dropAfterBytes = 1000;
        ScriptedServer server(0, {drop});
        TcpSocket socket;
        ASSERT_TRUE(socket.Connect("127.0.0.1", server.port(), 1000));
        const std::string big(32 << 20, 'b');
        EXPECT_FALSE(socket.SendAll(big, 3000));
        EXPECT_EQ(socket.LastError().code, 10053) << socket.LastError().text;
    }
    REQUIRE_RESETTING_CLOSE();
    {
        ScriptedReply reset = Answer("");
        reset.after = ScriptedReply::After::Reset;
        ScriptedServer server(0, {reset});
        TcpSocket socket;
        ASSERT_TRUE(socket.Connect("127.0.0.1", server.port(), 1000));
        ASSERT_TRUE(socket.SendAll("GET\r\n\r\n", 1000));
        char buffer[16];
        EXPECT_EQ(socket.Receive(buffer, sizeof buffer, 2000), -1);
        EXPECT_EQ(socket.LastError().code, 10054) << socket.LastError().text;
        EXPECT_EQ(socket.LastError().text, SocketErrorText(10054));
    }
    EXPECT_EQ(SocketErrorText(10053), SocketErrorText(SocketErrorCode::ConnectionAborted));
    EXPECT_NE(SocketErrorText(10053), SocketErrorText(10054));
    EXPECT_EQ(SocketErrorText(10060).empty(), false);
}

TEST(TcpSocket, ResolvesDottedAddressesAndNames)
{
    REQUIRE_PRIVATE_NETWORK();
    EXPECT_EQ(ResolveIPv4("127.0.0.1"), htonl(INADDR_LOOPBACK));
    EXPECT_EQ(ResolveIPv4("255.255.255.255"), 0xFFFFFFFFu);
    EXPECT_EQ(ResolveIPv4("localhost"), htonl(INADDR_LOOPBACK));
    SocketError failure;
    EXPECT_FALSE(ResolveIPv4("no-such-host.invalid", &failure).has_value());
    EXPECT_EQ(failure.code, 11001);
}

} // namespace
