// The three HTTP clients against a real web server that no one here wrote:
// its Basic authentication, its CGI redirects and cookies, and its upload.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "device/CommandExchange.h"
#include "device/MultipartBody.h"
#include "device/PageFetch.h"
#include "platform/Clock.h"

namespace {

std::string SiteFile(const std::string& name)
{
    const char* dir = std::getenv("LIGHTTPD_DIR");
    std::ifstream file(std::string(dir ? dir : "/nonexistent") + "/log/" + name, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(Lighttpd, FetchPageLogsInWithBasicCredentials)
{
    ASSERT_NE(std::getenv("LIGHTTPD_DIR"), nullptr) << "run under tests/lab/lighttpd/serve.sh";
    PageResponse page = FetchPage("127.0.0.1", "admin", "secret", "/protected/page.htm");
    EXPECT_EQ(page.status, 200);
    EXPECT_EQ(page.header.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << page.header;
    EXPECT_EQ(page.header.substr(page.header.size() - 4), "\r\n\r\n");
    EXPECT_EQ(page.body, "<HTML><BODY>the protected page</BODY></HTML>\n");

    page = FetchPage("127.0.0.1", "admin", "wrong", "/protected/page.htm");
    EXPECT_EQ(page.status, 401);
    EXPECT_EQ(page.body, "<HTML><BODY>401 Unauthorized</BODY></HTML>\n");
    EXPECT_EQ(FetchPage("127.0.0.1", "admin", "", "/protected/page.htm").status, 401);
    // A lower-case marker matches too.
    page = FetchPage("127.0.0.1", "admin", "secret", "/protected/landing.htm");
    EXPECT_EQ(page.status, 200);
    EXPECT_EQ(page.body, "<html><body>landing</body></html>\n");
}

TEST(Lighttpd, CommandFollowsTheCgiRedirectAndSendsItsCookie)
{
    CommandClient client;
    client.SetTimeoutMs(2000);
    CommandResult result =
        client.CommandExchange("http://127.0.0.1/protected/redirect.cgi?type=x", "admin", "secret", "r");
    EXPECT_FALSE(result.failed);
    EXPECT_EQ(result.replyStatus, 200);
    ASSERT_TRUE(client.cookie().has_value());
    EXPECT_EQ(*client.cookie(), "SESSION=lighttpd; path=/");
    EXPECT_EQ(SiteFile("cookies"), "SESSION=lighttpd; path=/\n");

    // Without a password there is no Authorization line, so the server refuses: no error.
    result = client.CommandExchange("http://127.0.0.1/protected/cookie.cgi", "admin", "", "r");
    EXPECT_FALSE(result.failed);
    EXPECT_EQ(result.replyStatus, 401);
    EXPECT_NE(result.replyHeader.find("WWW-Authenticate: Basic"), std::string::npos) << result.replyHeader;
}

TEST(Lighttpd, CommandGivesUpOnARedirectLoop)
{
    CommandClient client;
    client.SetTimeoutMs(2000);
    const std::int64_t start = MonotonicMs();
    const CommandResult result =
        client.CommandExchange("http://127.0.0.1/protected/loop.cgi", "admin", "secret", "r");
    EXPECT_TRUE(result.failed);
    EXPECT_EQ(result.replyStatus, 302);
    EXPECT_LT(MonotonicMs() - start, 5000);
}

TEST(Lighttpd, UploadReachesTheCgiUnchanged)
{
    THttpDataStream body;
    body.AddFormField("redirect", "man_firm.htm");
    body.AddFormField("failure", "fail.htm");
    body.AddFormField("type", "file_upload");
    std::string image;
    for (int i = 0; i < 300000; ++i)
        image += static_cast<char>(i * 7 & 0xFF);
    std::istringstream source(image);
    body.AddFileContent("filename", "C:\\fw\\image.bin", "application/octet-stream", source);
    body.FinishBody();
    const UploadOutcome outcome =
        PostUploadBody("http://127.0.0.1/protected/upload.cgi", body, "admin", "secret", "http://127.0.0.1/maintain.htm");
    EXPECT_FALSE(outcome.success);
    EXPECT_EQ(outcome.message, "HTTP/1.0 302 Found");
    EXPECT_EQ(SiteFile("upload.body"), body.Bytes());
    EXPECT_EQ(SiteFile("upload.type"), body.GetContentType() + "\n");

    const UploadOutcome refused =
        PostUploadBody("http://127.0.0.1/protected/upload.cgi", body, "admin", "bad", "r");
    EXPECT_FALSE(refused.success);
    EXPECT_EQ(refused.message, "HTTP/1.0 401 Unauthorized");
    const UploadOutcome missing = PostUploadBody("http://127.0.0.1/protected/none.cgi", body, "admin", "secret", "r");
    EXPECT_FALSE(missing.success);
    EXPECT_EQ(missing.message, "HTTP/1.0 404 Not Found");
}

} // namespace
