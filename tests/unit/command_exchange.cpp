#include "device/CommandExchange.h"

#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "support/PrivateNetwork.h"
#include "support/ScriptedServer.h"

namespace {

const std::string Accepts = "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n"
                            "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n";
const std::string FormType = "Content-type: application/x-www-form-urlencoded\r\n\r\n";
const std::string Done = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<html>done</html>";

std::string Redirect(const std::string& target, const std::string& extra = "")
{
    return "HTTP/1.0 302 Found\r\nLocation: " + target + "\r\n" + extra + "\r\n";
}

struct RequestCase {
    const char* name;
    std::string url, user, password, referer;
    std::string expected;
};

TEST(CommandExchange, WritesTheRequestByteForByte)
{
    const std::string longPath = "/nas.cgi?redirect=smb.htm&x=" + std::string(300, 'a');
    const std::vector<RequestCase> cases = {
        {"every line", "http://127.0.0.1/nas.cgi?redirect=id.htm&failure=fail.htm&type=x", "admin", "secret",
         "http://127.0.0.1/id.htm",
         "GET /nas.cgi?redirect=id.htm&failure=fail.htm&type=x HTTP/1.0\r\nHost: 127.0.0.1\r\n" + Accepts +
             "Referer: http://127.0.0.1/id.htm\r\nAuthorization: Basic YWRtaW46c2VjcmV0\r\n" + FormType},
        {"empty password: user and colon", "http://127.0.0.1/man.cgi", "admin", "", "r",
         "GET /man.cgi HTTP/1.0\r\nHost: 127.0.0.1\r\n" + Accepts +
             "Referer: r\r\nAuthorization: Basic YWRtaW46\r\n" + FormType},
        {"empty user: no Authorization line", "http://127.0.0.1/man.cgi", "", "pw", "r",
         "GET /man.cgi HTTP/1.0\r\nHost: 127.0.0.1\r\n" + Accepts + "Referer: r\r\n" + FormType},
        {"path cut to 256 characters", "http://127.0.0.1" + longPath, "a", "b", "r",
         "GET " + longPath.substr(0, 256) + " HTTP/1.0\r\nHost: 127.0.0.1\r\n" + Accepts +
             "Referer: r\r\nAuthorization: Basic YTpi\r\n" + FormType},
        {"no path asks for the root", "http://127.0.0.1", "a", "b", "r",
         "GET / HTTP/1.0\r\nHost: 127.0.0.1\r\n" + Accepts + "Referer: r\r\nAuthorization: Basic YTpi\r\n" + FormType},
        {"long credentials in one line", "http://127.0.0.1/x", std::string(300, 'u'), std::string(299, 'p'), "r",
         "GET /x HTTP/1.0\r\nHost: 127.0.0.1\r\n" + Accepts + "Referer: r\r\nAuthorization: Basic " +
             [] {
                 std::string token;
                 for (int i = 0; i < 100; ++i)
                     token += "dXV1";
                 token += "OnBw";
                 for (int i = 0; i < 99; ++i)
                     token += "cHBw";
                 return token;
             }() + "\r\n" + FormType},
        {"unsafe bytes in the path encoded", "http://127.0.0.1/a b\r\nEvil: 1\xE9", "a", "b", "r",
         "GET /a%20b%0D%0AEvil:%201%E9 HTTP/1.0\r\nHost: 127.0.0.1\r\n" + Accepts +
             "Referer: r\r\nAuthorization: Basic YTpi\r\n" + FormType},
    };
    for (const RequestCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedServer server(80, {Answer(Done)});
        CommandClient client;
        client.SetTimeoutMs(3000);
        const CommandResult result = client.CommandExchange(c.url, c.user, c.password, c.referer);
        ASSERT_TRUE(server.WaitServed(1));
        EXPECT_EQ(server.requests().at(0), c.expected);
        EXPECT_FALSE(result.failed);
        EXPECT_EQ(result.replyStatus, 200);
        EXPECT_EQ(result.replyHeader, "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n");
    }
}

TEST(CommandExchange, PortInTheUrlIsUsed)
{
    ScriptedServer server(0, {Answer(Done)});
    CommandClient client;
    const std::string host = "127.0.0.1:" + std::to_string(server.port());
    const CommandResult result = client.CommandExchange("http://" + host + "/x", "a", "b", "r");
    EXPECT_FALSE(result.failed);
    ASSERT_TRUE(server.WaitServed(1));
    EXPECT_NE(server.requests().at(0).find("\r\nHost: " + host + "\r\n"), std::string::npos);
}

struct RedirectCase {
    const char* name;
    std::string answer;
    std::string secondRequestLine; // empty: no second request
};

TEST(CommandExchange, FollowsRedirectsOnTheSameHost)
{
    const std::vector<RedirectCase> cases = {
        {"bare page name", Redirect("smb.htm"), "GET /smb.htm HTTP/1.0"},
        {"absolute path", Redirect("/cgi/fail.htm?x=1"), "GET /cgi/fail.htm?x=1 HTTP/1.0"},
        {"full URL", Redirect("http://127.0.0.1/full.htm"), "GET /full.htm HTTP/1.0"},
        {"relative path", Redirect("sub/p.htm"), "GET /sub/p.htm HTTP/1.0"},
        {"300", "HTTP/1.0 300 Choices\r\nLocation: a.htm\r\n\r\n", "GET /a.htm HTTP/1.0"},
        {"301", "HTTP/1.0 301 Moved\r\nLocation: b.htm\r\n\r\n", "GET /b.htm HTTP/1.0"},
        {"location in lower case", "HTTP/1.0 302 Found\r\nlocation: c.htm\r\n\r\n", "GET /c.htm HTTP/1.0"},
        {"303 is not followed", "HTTP/1.0 303 See Other\r\nLocation: d.htm\r\n\r\n", ""},
        {"307 is not followed", "HTTP/1.0 307 Temporary\r\nLocation: d.htm\r\n\r\n", ""},
        {"302 without Location", "HTTP/1.0 302 Found\r\n\r\n", ""},
        {"Location without a space is no target", "HTTP/1.0 302 Found\r\nLocation:e.htm\r\n\r\n", ""},
        {"empty Location", "HTTP/1.0 302 Found\r\nLocation: \r\n\r\n", ""},
        {"target cut to 256 characters", Redirect(std::string(300, 'z')),
         "GET /" + std::string(255, 'z') + " HTTP/1.0"},
    };
    for (const RedirectCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedServer server(80, {Answer(c.answer), Answer(Done)});
        CommandClient client;
        client.SetTimeoutMs(1000);
        const CommandResult result = client.CommandExchange("http://127.0.0.1/nas.cgi", "a", "b", "r");
        EXPECT_FALSE(result.failed);
        if (c.secondRequestLine.empty()) {
            EXPECT_EQ(server.connections(), 1u);
            EXPECT_EQ(result.replyHeader.substr(0, 9), c.answer.substr(0, 9));
        } else {
            ASSERT_TRUE(server.WaitServed(2));
            const std::string second = server.requests().at(1);
            EXPECT_EQ(second.substr(0, second.find("\r\n")), c.secondRequestLine);
            EXPECT_EQ(result.replyStatus, 200);
        }
    }
}

TEST(CommandExchange, CookieOfARedirectIsSentOnEveryLaterRequest)
{
    ScriptedServer server(80, {Answer(Redirect("a.htm", "Set-Cookie: session=42; path=/\r\n")), Answer(Done),
                               Answer("HTTP/1.0 200 OK\r\nSet-Cookie: ignored=1\r\n\r\n"), Answer(Done)});
    CommandClient client;
    client.SetTimeoutMs(1000);
    EXPECT_FALSE(client.cookie().has_value());
    EXPECT_FALSE(client.CommandExchange("http://127.0.0.1/first", "a", "b", "r").failed);
    ASSERT_TRUE(client.cookie().has_value());
    EXPECT_EQ(*client.cookie(), "session=42; path=/");
    EXPECT_FALSE(client.CommandExchange("http://127.0.0.1/second", "a", "b", "r").failed);
    EXPECT_FALSE(client.CommandExchange("http://127.0.0.1/third", "a", "b", "r").failed);
    ASSERT_TRUE(server.WaitServed(4));
    const auto requests = server.requests();
    EXPECT_EQ(requests[0].find("Cookie:"), std::string::npos);
    for (std::size_t i = 1; i < 4; ++i) {
        SCOPED_TRACE(i);
        // Right after the accept lines, before the referer.
        EXPECT_NE(requests[i].find(Accepts + "Cookie: session=42; path=/\r\nReferer: r\r\n"), std::string::npos);
    }
    EXPECT_EQ(*client.cookie(), "session=42; path=/");
}

TEST(CommandExchange, FailedSecondConnectionKeepsTheRedirectStatus)
{
    const std::string answer = Redirect("http://127.0.0.1:1/gone.htm", "Server: x\r\n");
    ScriptedServer server(80, {Answer(answer)});
    CommandClient client;
    client.SetTimeoutMs(1000);
    const CommandResult result = client.CommandExchange("http://127.0.0.1/nas.cgi", "a", "b", "r");
    EXPECT_TRUE(result.failed);
    EXPECT_EQ(result.replyStatus, 302);
    EXPECT_EQ(result.replyHeader, answer);
}

struct FailureCase {
    const char* name;
    std::string url;
};

TEST(CommandExchange, UnusableUrlsAndRefusedConnectionsFail)
{
    REQUIRE_PRIVATE_NETWORK();
    const std::vector<FailureCase> cases = {
        {"empty URL", ""}, {"https", "https://127.0.0.1/x"}, {"HTTPS", "HTTPS://127.0.0.1/x"},
        {"refused", "http://127.0.0.1/x"}, {"no such host", "http://no-such-host.invalid/x"},
        {"no scheme", "127.0.0.1/x"}, {"bad port", "http://127.0.0.1:99999/x"},
        {"unreachable network", "http://10.1.2.3/x"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        CommandClient client;
        client.SetTimeoutMs(1000);
        const std::int64_t start = MonotonicMs();
        const CommandResult result = client.CommandExchange(c.url, "a", "b", "r");
        EXPECT_TRUE(result.failed);
        EXPECT_EQ(result.replyStatus, 0);
        EXPECT_EQ(result.replyHeader, "");
        EXPECT_LT(MonotonicMs() - start, 1500);
    }
}

TEST(CommandExchange, ConnectionClosedWithoutAnAnswerFails)
{
    for (const bool afterRedirect : {false, true}) {
        SCOPED_TRACE(afterRedirect);
        std::vector<ScriptedReply> replies;
        if (afterRedirect)
            replies.push_back(Answer(Redirect("a.htm")));
        replies.push_back(Answer(""));
        ScriptedServer server(80, replies);
        CommandClient client;
        client.SetTimeoutMs(1000);
        const CommandResult result = client.CommandExchange("http://127.0.0.1/x", "a", "b", "r");
        EXPECT_TRUE(result.failed);
        EXPECT_EQ(result.replyStatus, 0);
        EXPECT_EQ(result.replyHeader, "");
    }
}

TEST(CommandExchange, StatusCodesEndTheExchangeWithoutError)
{
    for (const char* line : {"HTTP/1.0 401 Unauthorized", "HTTP/1.0 404 Not Found", "HTTP/1.0 500 Oops"}) {
        SCOPED_TRACE(line);
        ScriptedServer server(80, {Answer(std::string(line) + "\r\n\r\n<html></html>")});
        CommandClient client;
        client.SetTimeoutMs(1000);
        const CommandResult result = client.CommandExchange("http://127.0.0.1/x", "a", "b", "r");
        EXPECT_FALSE(result.failed);
        EXPECT_EQ(result.replyStatus, std::stoi(std::string(line).substr(9, 3)));
    }
}

TEST(CommandExchange, AtMostTenRedirectsAreFollowed)
{
    for (int redirects : {10, 11}) {
        SCOPED_TRACE(redirects);
        std::vector<ScriptedReply> replies;
        for (int i = 0; i < redirects; ++i)
            replies.push_back(Answer(Redirect("p" + std::to_string(i) + ".htm")));
        replies.push_back(Answer(Done));
        ScriptedServer server(80, replies);
        CommandClient client;
        client.SetTimeoutMs(1000);
        const CommandResult result = client.CommandExchange("http://127.0.0.1/x", "a", "b", "r");
        if (redirects == 10) {
            EXPECT_FALSE(result.failed);
            EXPECT_EQ(result.replyStatus, 200);
            EXPECT_TRUE(server.WaitServed(11));
        } else {
            EXPECT_TRUE(result.failed);
            EXPECT_EQ(result.replyStatus, 302);
            EXPECT_EQ(server.connections(), 11u);
        }
    }
}

// A silent appliance: the client's time-out, or the default bound when none was set.
TEST(CommandExchange, SilenceEndsWithinTheTimeout)
{
    struct Case {
        std::optional<int> timeout;
        int bound;
    };
    for (const Case c : {Case{1000, 1000}, Case{std::nullopt, CommandClient::DefaultTimeoutMs}}) {
        SCOPED_TRACE(c.bound);
        ScriptedServer server(80, {AnswerAndKeepOpen("", c.bound + 3000)});
        CommandClient client;
        client.SetTimeoutMs(c.timeout);
        EXPECT_EQ(client.timeoutMs(), c.timeout);
        const std::int64_t start = MonotonicMs();
        const CommandResult result = client.CommandExchange("http://127.0.0.1/x", "a", "b", "r");
        const std::int64_t elapsed = MonotonicMs() - start;
        EXPECT_TRUE(result.failed);
        EXPECT_EQ(result.replyStatus, 0);
        EXPECT_GE(elapsed, c.bound - 50);
        EXPECT_LT(elapsed, c.bound + 500);
    }
}

// The status line came, the answer did not end: an error while reading,
// which leaves no status, so the sender cannot take it for a redirect.
TEST(CommandExchange, AnswerThatNeverClosesFailsWithoutItsStatus)
{
    const std::string answer = Redirect("a.htm");
    ScriptedServer server(80, {AnswerAndKeepOpen(answer, 4000)});
    CommandClient client;
    client.SetTimeoutMs(1000);
    const CommandResult result = client.CommandExchange("http://127.0.0.1/x", "a", "b", "r");
    EXPECT_TRUE(result.failed);
    EXPECT_EQ(result.replyStatus, 0);
    EXPECT_EQ(result.replyHeader, "");
    EXPECT_EQ(server.connections(), 1u);
}

TEST(CommandExchange, AnswerCutByAResetFailsWithoutItsStatus)
{
    for (const bool afterRedirect : {false, true}) {
        SCOPED_TRACE(afterRedirect);
        std::vector<ScriptedReply> replies;
        if (afterRedirect)
            replies.push_back(Answer(Redirect("a.htm")));
        ScriptedReply broken = Answer("HTTP/1.0 302 Found\r\nLocation: b.htm\r\n");
        broken.after = ScriptedReply::After::Reset;
        replies.push_back(broken);
        ScriptedServer server(80, replies);
        CommandClient client;
        client.SetTimeoutMs(1000);
        const CommandResult result = client.CommandExchange("http://127.0.0.1/x", "a", "b", "r");
        EXPECT_TRUE(result.failed);
        EXPECT_EQ(result.replyStatus, 0);
        EXPECT_EQ(result.replyHeader, "");
        EXPECT_EQ(server.connections(), afterRedirect ? 2u : 1u);
    }
}

TEST(CommandExchange, HugeAnswerIsCutAndReadAsUsual)
{
    ScriptedReply reply;
    reply.pieces.push_back("HTTP/1.0 200 OK\r\nX: y\r\n\r\n");
    for (int i = 0; i < 20; ++i)
        reply.pieces.push_back(std::string(1 << 20, 'h'));
    ScriptedServer server(80, {reply});
    CommandClient client;
    client.SetTimeoutMs(2000);
    const CommandResult result = client.CommandExchange("http://127.0.0.1/x", "a", "b", "r");
    EXPECT_FALSE(result.failed);
    EXPECT_EQ(result.replyStatus, 200);
    EXPECT_EQ(result.replyHeader, "HTTP/1.0 200 OK\r\nX: y\r\n\r\n");
}

TEST(CommandExchange, PumpsEventsWhileWaiting)
{
    ScriptedReply reply = Answer(Done);
    reply.delayMs = 300;
    ScriptedServer server(80, {reply});
    int pumped = 0;
    CommandClient client([&] { ++pumped; });
    client.SetTimeoutMs(1000);
    EXPECT_FALSE(client.CommandExchange("http://127.0.0.1/x", "a", "b", "r").failed);
    // About every 2 ms while waiting for the answer.
    EXPECT_GE(pumped, 50);
    EXPECT_LT(pumped, 1000);
}

TEST(CommandExchange, ProbeConnectionOpensAndClosesWithoutSending)
{
    REQUIRE_PRIVATE_NETWORK();
    CommandClient client;
    client.SetTimeoutMs(1000);
    EXPECT_FALSE(client.ProbeConnection("127.0.0.1"));
    {
        ScriptedServer server(80, {Answer("")});
        EXPECT_TRUE(client.ProbeConnection("127.0.0.1"));
        ASSERT_TRUE(server.WaitServed(1));
        EXPECT_EQ(server.requests().at(0), "");
    }
    const std::int64_t start = MonotonicMs();
    EXPECT_FALSE(client.ProbeConnection("10.1.2.3"));
    EXPECT_LT(MonotonicMs() - start, 1500);
}

struct ParseCase {
    const char* name;
    std::string received;
    bool ended;
    std::int16_t status;
    std::string header;
    std::optional<std::string> location, cookie;
};

TEST(ParseCommandAnswer, ReadsStatusHeaderLocationAndCookie)
{
    const std::vector<ParseCase> cases = {
        {"redirect with cookie", "HTTP/1.0 302 Found\r\nLocation: smb.htm\r\nSet-Cookie: a=b\r\n\r\nbody", true, 302,
         "HTTP/1.0 302 Found\r\nLocation: smb.htm\r\nSet-Cookie: a=b\r\n\r\n", "smb.htm", "a=b"},
        {"bare line feeds", "HTTP/1.0 200 OK\nX: y\n\nbody", true, 200, "HTTP/1.0 200 OK\r\nX: y\r\n\r\n", {}, {}},
        {"header ends with the connection", "HTTP/1.0 200 OK\r\nX: y", true, 200, "HTTP/1.0 200 OK\r\nX: y\r\n", {}, {}},
        {"broken before the line end", "HTTP/1.0 200 OK\r\nX: y", false, 200, "HTTP/1.0 200 OK\r\n", {}, {}},
        {"broken in the status line", "HTTP/1.0 20", false, 0, "", {}, {}},
        {"nothing", "", true, 0, "", {}, {}},
        {"status not a number", "HTTP/1.0 OK\r\n\r\n", true, 0, "HTTP/1.0 OK\r\n\r\n", {}, {}},
        {"status beyond 16 bits", "HTTP/1.0 40000 X\r\n\r\n", true, 0, "HTTP/1.0 40000 X\r\n\r\n", {}, {}},
        {"two spaces: empty field", "HTTP/1.0  302 X\r\n\r\n", true, 0, "HTTP/1.0  302 X\r\n\r\n", {}, {}},
        {"garbage", "\x01\x02\xFF garbage\r\n\r\n", true, 0, "\x01\x02\xFF garbage\r\n\r\n", {}, {}},
        {"words matched upper-cased", "HTTP/1.0 301 M\r\nLOCATION: x\r\nset-cookie: y z\r\n\r\n", true, 301,
         "HTTP/1.0 301 M\r\nLOCATION: x\r\nset-cookie: y z\r\n\r\n", "x", "y z"},
        {"later lines win", "HTTP/1.0 302 M\r\nLocation: a\r\nLocation: b\r\n\r\n", true, 302,
         "HTTP/1.0 302 M\r\nLocation: a\r\nLocation: b\r\n\r\n", "b", {}},
        {"value keeps one space only", "HTTP/1.0 302 M\r\nLocation:  a\r\n\r\n", true, 302,
         "HTTP/1.0 302 M\r\nLocation:  a\r\n\r\n", " a", {}},
        {"a location in the body is no header", "HTTP/1.0 302 M\r\n\r\nLocation: a\r\n", true, 302,
         "HTTP/1.0 302 M\r\n\r\n", {}, {}},
        {"cookie cut to 256", "HTTP/1.0 302 M\r\nSet-Cookie: " + std::string(300, 'c') + "\r\n\r\n", true, 302,
         "HTTP/1.0 302 M\r\nSet-Cookie: " + std::string(300, 'c') + "\r\n\r\n", {}, std::string(256, 'c')},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CommandAnswer answer = ParseCommandAnswer(c.received, c.ended);
        EXPECT_EQ(answer.status, c.status);
        EXPECT_EQ(answer.header, c.header);
        EXPECT_EQ(answer.location, c.location);
        EXPECT_EQ(answer.cookie, c.cookie);
    }
}

} // namespace
