// The three HTTP clients against the fake appliance in the lab: redirects and
// cookies of real commands, and every fault the appliance can be made to show.
#include <gtest/gtest.h>

#include <cstdlib>

#include "device/CommandExchange.h"
#include "device/MultipartBody.h"
#include "device/PageFetch.h"
#include "platform/Clock.h"
#include "support/SimControl.h"

namespace {

std::string Address()
{
    const char* address = std::getenv("SIM_NAS1_ADDRESS");
    return address ? address : "";
}

std::string CommandUrl(const std::string& redirect, const std::string& failure, const std::string& type,
                       const std::string& extra = "")
{
    return "http://" + Address() + "/nas.cgi?redirect=" + redirect + "&failure=" + failure + "&type=" + type + extra;
}

std::string Referer() { return "http://" + Address() + "/id.htm"; }

std::string FirstLine(const std::string& text) { return text.substr(0, text.find("\r\n")); }

class HttpClientsLab : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(Address().empty()) << "run under tools/lab/with-appliances.sh --appliance nas1=...";
        sim.post("/reset-defaults");
        sim.post("/requests/clear");
    }
    void TearDown() override { sim.post("/fault/none"); }

    std::string Request(int n) const { return sim.get("/requests/" + std::to_string(n)); }
    int RequestCount() const { return std::stoi(sim.get("/requests/count")); }

    SimControl sim = SimControl::fromEnv("NAS1");
};

TEST_F(HttpClientsLab, StatusPageIsFetched)
{
    const PageResponse page = FetchPage(Address(), "admin", "admin", "/utility_use.htm");
    EXPECT_EQ(page.status, 200);
    EXPECT_EQ(page.body.substr(0, 6), "<HTML>");
    EXPECT_NE(page.body.find("host_name"), std::string::npos);
    EXPECT_EQ(Request(0), "GET /utility_use.htm HTTP/1.1\r\nHost:" + Address() +
                              "\r\nConnection: Keep-Alive\r\nAuthorization: Basic YWRtaW46YWRtaW4=\r\n\r\n");
    EXPECT_EQ(FetchPage(Address(), "admin", "wrong", "/utility_use.htm").status, 401);
}

TEST_F(HttpClientsLab, CommandRedirectChainCarriesItsCookie)
{
    CommandClient client;
    client.SetTimeoutMs(1000);
    CommandResult result =
        client.CommandExchange(CommandUrl("id.htm", "fail.htm", "nas_lang_apply", "&lang=0"), "admin", "admin",
                               Referer());
    EXPECT_FALSE(result.failed);
    EXPECT_EQ(result.replyStatus, 200);
    EXPECT_EQ(sim.get("/state/last_outcome"), "ok");
    ASSERT_EQ(RequestCount(), 2);
    EXPECT_EQ(FirstLine(Request(1)), "GET /id.htm HTTP/1.0");
    ASSERT_TRUE(client.cookie().has_value());
    EXPECT_NE(client.cookie()->find("; path=/"), std::string::npos);
    EXPECT_EQ(Request(0).find("Cookie:"), std::string::npos);
    EXPECT_NE(Request(1).find("\r\nCookie: " + *client.cookie() + "\r\n"), std::string::npos);

    // A refused command goes to its failure page, with the cookie on both requests.
    result = client.CommandExchange(CommandUrl("id.htm", "fail.htm", "no_such_command"), "admin", "admin", Referer());
    EXPECT_FALSE(result.failed);
    ASSERT_EQ(RequestCount(), 4);
    EXPECT_EQ(FirstLine(Request(3)), "GET /fail.htm HTTP/1.0");
    for (int n : {2, 3})
        EXPECT_NE(Request(n).find("\r\nCookie: " + *client.cookie() + "\r\n"), std::string::npos) << n;
    EXPECT_EQ(sim.get("/state/last_cookie"), *client.cookie());
}

TEST_F(HttpClientsLab, FailedSecondConnectionGivesFailedWith302)
{
    struct Case {
        const char* name;
        std::string target;
    };
    for (const Case& c : {Case{"refused", "http://" + Address() + ":81/x.htm"},
                          Case{"nobody there", "http://192.168.1.99/x.htm"}}) {
        SCOPED_TRACE(c.name);
        CommandClient client;
        client.SetTimeoutMs(1000);
        const std::int64_t start = MonotonicMs();
        const CommandResult result =
            client.CommandExchange(CommandUrl("id.htm", c.target, "no_such_command"), "admin", "admin", Referer());
        EXPECT_TRUE(result.failed);
        EXPECT_EQ(result.replyStatus, 302);
        EXPECT_NE(result.replyHeader.find("Location: " + c.target + "\r\n"), std::string::npos);
        EXPECT_LT(MonotonicMs() - start, 2000);
    }
}

// Under the fault every page redirects to itself; count limits it to the
// command and the pages after it, so count 10 means ten redirects to follow.
TEST_F(HttpClientsLab, RedirectLoopFailsAfterTenRedirects)
{
    struct Case {
        const char* options;
        bool failed;
        std::int16_t status;
    };
    for (const Case& c : {Case{"count=10", false, 200}, Case{"count=11", true, 302}, Case{"", true, 302}}) {
        SCOPED_TRACE(c.options);
        sim.post("/reset-defaults");
        sim.post("/requests/clear");
        const int accepted = std::stoi(sim.get("/state/commands_accepted"));
        sim.post("/fault/redirect-loop", c.options);
        CommandClient client;
        client.SetTimeoutMs(1000);
        const std::int64_t start = MonotonicMs();
        const CommandResult result = client.CommandExchange(
            CommandUrl("id.htm", "fail.htm", "nas_lang_apply", "&lang=1"), "admin", "admin", Referer());
        EXPECT_LT(MonotonicMs() - start, 5000);
        EXPECT_EQ(result.failed, c.failed);
        EXPECT_EQ(result.replyStatus, c.status);
        EXPECT_EQ(FirstLine(result.replyHeader), c.failed ? "HTTP/1.0 302 Found" : "HTTP/1.0 200 OK");
        // The command, then ten followed redirects; nothing after the limit.
        ASSERT_EQ(RequestCount(), 11);
        EXPECT_EQ(FirstLine(Request(1)), "GET /id.htm HTTP/1.0");
        EXPECT_EQ(FirstLine(Request(10)), "GET /id.htm HTTP/1.0");
        EXPECT_EQ(std::stoi(sim.get("/state/commands_accepted")), accepted + 1);
        EXPECT_EQ(sim.get("/state/default_lang"), "1");
        sim.post("/fault/none");
    }
}

TEST_F(HttpClientsLab, FirstCommandIsBoundedAndLaterOnesWaitOneSecond)
{
    CommandClient client;
    for (const int bound : {CommandClient::DefaultTimeoutMs, 1000}) {
        SCOPED_TRACE(bound);
        sim.post("/fault/silence", "count=1 hold=15");
        const std::int64_t start = MonotonicMs();
        const CommandResult result = client.CommandExchange(CommandUrl("id.htm", "fail.htm", "nas_lang_apply",
                                                                       "&lang=0"),
                                                            "admin", "admin", Referer());
        const std::int64_t elapsed = MonotonicMs() - start;
        EXPECT_TRUE(result.failed);
        EXPECT_EQ(result.replyStatus, 0);
        EXPECT_GE(elapsed, bound - 50);
        EXPECT_LT(elapsed, bound + 700);
        // What the command sender does after each command.
        client.SetTimeoutMs(1000);
    }
}

TEST_F(HttpClientsLab, ProbeConnectionFollowsTheAppliance)
{
    CommandClient client;
    client.SetTimeoutMs(1000);
    EXPECT_TRUE(client.ProbeConnection(Address()));
    const std::int64_t start = MonotonicMs();
    EXPECT_FALSE(client.ProbeConnection("192.168.1.99"));
    EXPECT_LT(MonotonicMs() - start, 1600);
}

TEST_F(HttpClientsLab, FirmwareUploadOutcomes)
{
    THttpDataStream accepted;
    accepted.AddFormField("redirect", "man_firm.htm");
    accepted.AddFormField("failure", "fail.htm");
    accepted.AddFormField("type", "file_upload");
    std::istringstream image(std::string(100000, '\x42'));
    accepted.AddFileContent("filename", "C:\\firmware\\q70.bin", "application/octet-stream", image);
    accepted.FinishBody();
    const std::string url = "http://" + Address() + "/man.cgi";
    const std::string referer = "http://" + Address() + "/maintain.htm";
    UploadOutcome outcome = PostUploadBody(url, accepted, "admin", "admin", referer);
    EXPECT_FALSE(outcome.success);
    EXPECT_EQ(outcome.message, "HTTP/1.0 302 Found");
    EXPECT_EQ(sim.get("/state/upload_last_outcome"), "accepted");
    EXPECT_EQ(sim.get("/state/upload_last_filename"), "C:\\firmware\\q70.bin");
    EXPECT_EQ(sim.get("/state/upload_last_size"), "100000");

    outcome = PostUploadBody(url, accepted, "admin", "nope", referer);
    EXPECT_FALSE(outcome.success);
    EXPECT_NE(outcome.message.find(" 401"), std::string::npos) << outcome.message;

    // An image over the appliance's limit: it drops the connection mid-upload.
    sim.post("/state/upload_limit", "200000");
    THttpDataStream tooLarge;
    tooLarge.AddFormField("redirect", "man_firm.htm");
    std::istringstream big(std::string(4 << 20, '\x43'));
    tooLarge.AddFileContent("filename", "big.bin", "application/octet-stream", big);
    tooLarge.FinishBody();
    const std::int64_t start = MonotonicMs();
    outcome = PostUploadBody(url, tooLarge, "admin", "admin", referer);
    EXPECT_FALSE(outcome.success);
    EXPECT_EQ(outcome.message.rfind("Socket Error # 10053\r\n", 0), 0u) << outcome.message;
    EXPECT_EQ(sim.get("/state/upload_last_outcome"), "dropped");
    EXPECT_LT(MonotonicMs() - start, 8000);

    // Just over the limit: it takes the whole form, then drops the connection unanswered.
    THttpDataStream justOver;
    justOver.AddFormField("redirect", "man_firm.htm");
    justOver.AddFormField("failure", "fail.htm");
    justOver.AddFormField("type", "file_upload");
    std::istringstream over(std::string(200001, '\x45'));
    justOver.AddFileContent("filename", "over.bin", "application/octet-stream", over);
    justOver.FinishBody();
    outcome = PostUploadBody(url, justOver, "admin", "admin", referer);
    EXPECT_EQ(outcome.message.rfind("Socket Error # 10053\r\n", 0), 0u) << outcome.message;
    EXPECT_EQ(sim.get("/state/upload_last_outcome"), "dropped");
    EXPECT_EQ(sim.get("/state/upload_last_size"), "200001");
}

// What each client gives for each fault. Page fetch: connect 3 s, idle 5 s;
// command: 1000 ms; upload: shortened bounds of 3 s / 3 s so the table runs fast.
struct FaultCase {
    const char* mode;
    const char* options;
    // page fetch
    std::int32_t pageStatus; // -1: 200 or 0, depending on where the answer broke
    int pageBoundMs;
    // command exchange
    bool commandFailed;
    std::int16_t commandStatus;
    int commandBoundMs;
    // upload: success, and the start of the message
    std::string uploadMessage;
    int uploadBoundMs;
};

TEST_F(HttpClientsLab, EveryFaultEndsWithinItsBound)
{
    const std::vector<FaultCase> cases = {
        {"none", "", 200, 1000, false, 200, 1000, "HTTP/1.0 302", 1000},
        {"keep-open", "hold=20", 200, 6000, true, 0, 1700, "HTTP/1.0 302", 4000},
        {"trickle", "bytes=200 pause=5", 200, 3000, false, 200, 2000, "HTTP/1.0 302", 2000},
        {"reset", "", -1, 1000, true, 0, 1000, "", 1000},
        {"no-html", "", 0, 1000, false, 200, 1000, "HTTP/1.0 302", 1000},
        {"garbage", "", 0, 1000, false, 0, 1000, "", 1000},
        {"huge", "", 200, 15000, false, 200, 15000, "HTTP/1.0 302", 15000},
        {"status500", "", 500, 1000, false, 500, 1000, "HTTP/1.0 500 Internal Server Error", 1000},
        {"silence", "hold=20", 0, 6000, true, 0, 1700, "Socket Error # 10060\r\n", 4000},
        {"slow-accept", "seconds=2", 200, 3000, true, 0, 1700, "HTTP/1.0 302", 3500},
        // The page fetch takes the redirect as its page; the POST never meets the loop.
        {"redirect-loop", "count=20", 302, 1000, true, 302, 2000, "HTTP/1.0 302", 1000},
    };
    THttpDataStream body;
    body.AddFormField("redirect", "man_firm.htm");
    body.AddFormField("failure", "fail.htm");
    body.AddFormField("type", "file_upload");
    std::istringstream image(std::string(1000, '\x44'));
    body.AddFileContent("filename", "fw.bin", "application/octet-stream", image);
    body.FinishBody();

    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.mode);
        const std::string options = std::string("count=1 ") + c.options;

        sim.post(std::string("/fault/") + c.mode, options);
        std::int64_t start = MonotonicMs();
        const PageResponse page = FetchPage(Address(), "admin", "admin", "/utility_use.htm");
        std::int64_t elapsed = MonotonicMs() - start;
        EXPECT_LT(elapsed, c.pageBoundMs) << "page fetch";
        if (c.pageStatus >= 0)
            EXPECT_EQ(page.status, c.pageStatus) << "page fetch";
        else
            EXPECT_TRUE(page.status == 200 || page.status == 0) << page.status;
        if (page.status == 0) {
            EXPECT_EQ(page.header, "");
            EXPECT_EQ(page.body, "");
        } else {
            EXPECT_EQ(page.body.substr(0, 6), "<HTML>");
            EXPECT_LE(page.header.size() + page.body.size(), 16u << 20);
        }

        sim.post(std::string("/fault/") + c.mode, options);
        CommandClient client;
        client.SetTimeoutMs(1000);
        start = MonotonicMs();
        // A refused command: its redirect to the failure page is the second connection.
        const CommandResult result =
            client.CommandExchange(CommandUrl("id.htm", "fail.htm", "no_such_command"), "admin", "admin", Referer());
        elapsed = MonotonicMs() - start;
        EXPECT_LT(elapsed, c.commandBoundMs) << "command";
        EXPECT_EQ(result.failed, c.commandFailed) << "command";
        EXPECT_EQ(result.replyStatus, c.commandStatus) << "command";

        sim.post(std::string("/fault/") + c.mode, options);
        start = MonotonicMs();
        const UploadOutcome outcome = PostUploadBody("http://" + Address() + "/man.cgi", body, "admin", "admin",
                                                     "http://" + Address() + "/maintain.htm", {3000, 3000});
        elapsed = MonotonicMs() - start;
        EXPECT_LT(elapsed, c.uploadBoundMs) << "upload";
        EXPECT_FALSE(outcome.success) << "upload";
        if (!std::string(c.uploadMessage).empty())
            EXPECT_EQ(outcome.message.rfind(c.uploadMessage, 0), 0u) << outcome.message;
        else
            EXPECT_FALSE(outcome.message.empty());
        sim.post("/fault/none");
    }
}

} // namespace
