#include "device/PageFetch.h"

#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "support/PrivateNetwork.h"
#include "support/ScriptedServer.h"

namespace {


const std::string OkPage = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n<html><body>ok</body></html>";

struct RequestCase {
    const char* name;
    std::string user, password, path;
    std::string expected;
};

TEST(PageFetch, WritesTheRequestByteForByte)
{
    const std::string longUser(400, 'u');
    const std::string longPassword(700, 'p');
    std::string longToken;
    {
        // 1101 bytes of credentials: "uuu" -> "dXV1", "ppp" -> "cHBw", the colon in between.
        const std::string text = longUser + ":" + longPassword;
        static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        for (std::size_t i = 0; i < text.size(); i += 3) {
            const std::size_t n = std::min<std::size_t>(3, text.size() - i);
            unsigned group = 0;
            for (std::size_t k = 0; k < 3; ++k)
                group = group << 8 | (k < n ? static_cast<unsigned char>(text[i + k]) : 0);
            for (std::size_t k = 0; k < 4; ++k)
                longToken += k <= n ? alphabet[group >> (18 - 6 * k) & 63] : '=';
        }
    }
    const std::vector<RequestCase> cases = {
        {"plain", "admin", "admin", "/utility_use.htm",
         "GET /utility_use.htm HTTP/1.1\r\nHost:127.0.0.1\r\nConnection: Keep-Alive\r\n"
         "Authorization: Basic YWRtaW46YWRtaW4=\r\n\r\n"},
        {"empty password keeps the user name and colon", "admin", "", "/utility_use.htm",
         "GET /utility_use.htm HTTP/1.1\r\nHost:127.0.0.1\r\nConnection: Keep-Alive\r\n"
         "Authorization: Basic YWRtaW46\r\n\r\n"},
        {"empty user and password", "", "", "/", 
         "GET / HTTP/1.1\r\nHost:127.0.0.1\r\nConnection: Keep-Alive\r\nAuthorization: Basic Og==\r\n\r\n"},
        {"bytes above 127 in the credentials", "\xE9t\xE9", "\xFF", "/x.htm",
         "GET /x.htm HTTP/1.1\r\nHost:127.0.0.1\r\nConnection: Keep-Alive\r\nAuthorization: Basic 6XTpOv8=\r\n\r\n"},
        {"credentials beyond any fixed buffer", longUser, longPassword, "/utility_use.htm",
         "GET /utility_use.htm HTTP/1.1\r\nHost:127.0.0.1\r\nConnection: Keep-Alive\r\nAuthorization: Basic " +
             longToken + "\r\n\r\n"},
        {"printable path unchanged", "a", "b", "/cgi?x=%41&y=~!*'()[]{}|\\^`\"<>",
         "GET /cgi?x=%41&y=~!*'()[]{}|\\^`\"<> HTTP/1.1\r\nHost:127.0.0.1\r\nConnection: Keep-Alive\r\n"
         "Authorization: Basic YTpi\r\n\r\n"},
        {"unsafe path bytes encoded", "a", "b", std::string("/a b\r\nX: y\x7F\xE9\t\0z", 15),
         "GET /a%20b%0D%0AX:%20y%7F%E9%09%00z HTTP/1.1\r\nHost:127.0.0.1\r\nConnection: Keep-Alive\r\n"
         "Authorization: Basic YTpi\r\n\r\n"},
    };
    for (const RequestCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedServer server(80, {Answer(OkPage)});
        const PageResponse response = FetchPage("127.0.0.1", c.user, c.password, c.path);
        ASSERT_TRUE(server.WaitServed(1));
        ASSERT_EQ(server.requests().size(), 1u);
        EXPECT_EQ(server.requests()[0], c.expected);
        EXPECT_EQ(response.status, 200);
    }
}

TEST(PageFetch, LooksUpAHostName)
{
    ScriptedServer server(80, {Answer(OkPage)});
    const PageResponse response = FetchPage("localhost", "admin", "admin", "/utility_use.htm");
    ASSERT_TRUE(server.WaitServed(1));
    EXPECT_EQ(response.status, 200);
    EXPECT_NE(server.requests()[0].find("\r\nHost:localhost\r\n"), std::string::npos);
}

TEST(PageFetch, ReadsTheWholeAnswerUntilClose)
{
    std::string page = "<HTML>";
    for (int i = 0; page.size() < 65536; ++i)
        page += "key" + std::to_string(i) + "=\"value\";\r\n";
    const std::string answer = "HTTP/1.1 200 OK\r\nServer: x\r\n\r\n" + page;
    ScriptedReply reply;
    for (std::size_t i = 0; i < answer.size(); i += 1000)
        reply.pieces.push_back(answer.substr(i, 1000));
    ScriptedServer server(80, {reply});
    const PageResponse response = FetchPage("127.0.0.1", "admin", "admin", "/utility_use.htm");
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.header, "HTTP/1.1 200 OK\r\nServer: x\r\n\r\n");
    EXPECT_EQ(response.body, page);
}

TEST(PageFetch, EachChunkEndsAtItsFirstNul)
{
    ScriptedReply reply;
    reply.pieces = {std::string("HTTP/1.1 200 OK\r\n\r\n<html>A\0hidden", 32), "B</html>"};
    reply.pieceGapMs = 100;
    ScriptedServer server(80, {reply});
    const PageResponse response = FetchPage("127.0.0.1", "admin", "admin", "/");
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.body, "<html>AB</html>");
}

TEST(PageFetch, AnswersWithoutAPageCountAsNoAnswer)
{
    ScriptedServer server(80, {Answer("HTTP/1.1 302 Found\r\nLocation: /x.htm\r\n\r\n")});
    const PageResponse response = FetchPage("127.0.0.1", "admin", "admin", "/");
    EXPECT_EQ(response.status, 0);
    EXPECT_EQ(response.header, "");
    EXPECT_EQ(response.body, "");
}

TEST(PageFetch, NoServerGivesStatusZeroAtOnce)
{
    REQUIRE_PRIVATE_NETWORK();
    const std::int64_t start = MonotonicMs();
    const RawPage raw = ReceiveRawPage("127.0.0.1", "admin", "admin", "/");
    EXPECT_EQ(raw.completed, -1);
    EXPECT_EQ(raw.text, "");
    EXPECT_EQ(FetchPage("127.0.0.1", "admin", "admin", "/").status, 0);
    EXPECT_LT(MonotonicMs() - start, 1000);
    EXPECT_EQ(FetchPage("no-such-host.invalid", "admin", "admin", "/").status, 0);
}

// An appliance that keeps the connection open after its page: the page is
// taken after the idle bound instead of holding the window for ever.
TEST(PageFetch, IdleBoundEndsAConnectionThatStaysOpen)
{
    const ScriptedReply reply = AnswerAndKeepOpen(OkPage, 9000);
    ScriptedServer server(80, {reply});
    const std::int64_t start = MonotonicMs();
    const PageResponse response = FetchPage("127.0.0.1", "admin", "admin", "/utility_use.htm");
    const std::int64_t elapsed = MonotonicMs() - start;
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.body, "<html><body>ok</body></html>");
    EXPECT_GE(elapsed, 4900);
    EXPECT_LT(elapsed, 6500);
}

TEST(PageFetch, SilenceAfterAcceptEndsWithinTheIdleBound)
{
    const ScriptedReply reply = AnswerAndKeepOpen("", 9000);
    ScriptedServer server(80, {reply});
    const std::int64_t start = MonotonicMs();
    const RawPage raw = ReceiveRawPage("127.0.0.1", "admin", "admin", "/utility_use.htm");
    const std::int64_t elapsed = MonotonicMs() - start;
    EXPECT_EQ(raw.text, "");
    EXPECT_EQ(SplitPageResponse(raw.text, raw.completed).status, 0);
    EXPECT_GE(elapsed, 4900);
    EXPECT_LT(elapsed, 6500);
}

// A listener whose queue is full drops further connection attempts, so the
// connect itself has to give up.
TEST(PageFetch, ConnectBoundEndsAnUnansweredConnect)
{
    ScriptedServer server(80, {}, 0);
    std::vector<TestSocket> fillers;
    for (int i = 0; i < 4; ++i) {
        fillers.push_back(StartLoopbackConnect(80));
    }
    SleepMs(100);
    const std::int64_t start = MonotonicMs();
    const PageResponse response = FetchPage("127.0.0.1", "admin", "admin", "/");
    const std::int64_t elapsed = MonotonicMs() - start;
    for (TestSocket fd : fillers)
        CloseTestSocket(fd);
    EXPECT_EQ(response.status, 0);
    EXPECT_GE(elapsed, 2900);
    EXPECT_LT(elapsed, 4000);
}

TEST(PageFetch, AccumulatesAtMostSixteenMebibytes)
{
    const std::string head = "HTTP/1.1 200 OK\r\n\r\n<HTML>";
    ScriptedReply reply;
    reply.pieces.push_back(head);
    const std::string block(1 << 20, 'x');
    for (int i = 0; i < 20; ++i)
        reply.pieces.push_back(block);
    ScriptedServer server(80, {reply});
    const RawPage raw = ReceiveRawPage("127.0.0.1", "admin", "admin", "/");
    EXPECT_EQ(raw.completed, 1);
    EXPECT_EQ(raw.text.size(), 16u << 20);
    EXPECT_EQ(raw.text.substr(0, head.size()), head);
    EXPECT_EQ(SplitPageResponse(raw.text, raw.completed).status, 200);
}

struct SplitCase {
    const char* name;
    std::string text;
    int completed;
    std::string header, body;
    std::int32_t status;
};

TEST(SplitPageResponse, SplitsTheAnswerShapes)
{
    const std::vector<SplitCase> cases = {
        {"200 with a lower-case page", "HTTP/1.1 200 OK\r\nServer: a\r\n\r\n<html>x</html>", 1,
         "HTTP/1.1 200 OK\r\nServer: a\r\n\r\n", "<html>x</html>", 200},
        {"401 with its error page", "HTTP/1.0 401 Unauthorized\r\n\r\n<HTML>denied</HTML>", 1,
         "HTTP/1.0 401 Unauthorized\r\n\r\n", "<HTML>denied</HTML>", 401},
        {"page without a status line", "<HTML>a</HTML>", 1, "", "<HTML>a</HTML>", 1},
        {"mixed-case marker", "HTTP/1.1 200 OK\r\n\r\n<HtMl>", 1, "HTTP/1.1 200 OK\r\n\r\n", "<HtMl>", 200},
        {"document type line before the page", "HTTP/1.1 200 OK\r\n\r\n<!DOCTYPE x>\n<html>",
         1, "HTTP/1.1 200 OK\r\n\r\n<!DOCTYPE x>\n", "<html>", 200},
        {"chunk size line stays in the header", "HTTP/1.1 200 OK\r\n\r\n1a\r\n<html>b\r\n0\r\n\r\n", 1,
         "HTTP/1.1 200 OK\r\n\r\n1a\r\n", "<html>b\r\n0\r\n\r\n", 200},
        {"two spaces before the code", "HTTP/1.1  404 Not Found\r\n\r\n<html>", 1,
         "HTTP/1.1  404 Not Found\r\n\r\n", "<html>", 404},
        {"signed code", "HTTP/1.1 -7 Odd\r\n\r\n<html>", 1, "HTTP/1.1 -7 Odd\r\n\r\n", "<html>", -7},
        {"code not a number", "HTTP/1.1 OK\r\n\r\n<html>", 1, "HTTP/1.1 OK\r\n\r\n", "<html>", 1},
        {"no space after HTTP/", "<html>HTTP/1.1", 1, "", "<html>HTTP/1.1", 1},
        {"HTTP/ found in the body", "<html>see http/1.0 302 x", 1, "", "<html>see http/1.0 302 x", 302},
        {"code beyond 32 bits", "HTTP/1.1 99999999999 x\r\n\r\n<html>", 1, "HTTP/1.1 99999999999 x\r\n\r\n",
         "<html>", 1},
        {"no marker at all", "HTTP/1.1 200 OK\r\n\r\n<body>", 1, "", "", 0},
        {"empty text", "", 1, "", "", 0},
        {"marker split across case", "HTTP/1.0 200 OK\r\n\r\n<hTML>", -1, "HTTP/1.0 200 OK\r\n\r\n", "<hTML>", 200},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.name);
        const PageResponse response = SplitPageResponse(c.text, c.completed);
        EXPECT_EQ(response.header, c.header);
        EXPECT_EQ(response.body, c.body);
        EXPECT_EQ(response.status, c.status);
        const PageResponse moved = SplitPageResponse(std::string(c.text), c.completed);
        EXPECT_EQ(moved.header, c.header);
        EXPECT_EQ(moved.body, c.body);
        EXPECT_EQ(moved.status, c.status);
    }
}

} // namespace
