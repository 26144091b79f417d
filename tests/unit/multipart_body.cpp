#include "device/MultipartBody.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Clock.h"
#include "platform/TcpSocket.h"
#include "support/PrivateNetwork.h"
#include "support/ScriptedServer.h"

namespace {

std::size_t Count(std::string_view text, const std::string& piece)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++count;
    return count;
}

// A socket error message carries the system's text for its number: the
// POSIX build's is checked word for word, Windows' only for being there.
void ExpectMessage(const std::string& message, const std::string& expected)
{
#ifdef _WIN32
    const std::size_t textStart = expected.find("\r\n") + 2;
    if (expected.rfind("Socket Error # ", 0) == 0) {
        EXPECT_EQ(message.substr(0, textStart), expected.substr(0, textStart));
        EXPECT_GT(message.size(), textStart) << message;
        return;
    }
#endif
    EXPECT_EQ(message, expected);
}

THttpDataStream FirmwareForm(const std::string& image, const std::string& fileName = "C:\\fw\\image.bin")
{
    THttpDataStream body;
    body.AddFormField("redirect", "man_firm.htm");
    body.AddFormField("failure", "fail.htm");
    body.AddFormField("type", "file_upload");
    std::istringstream source(image);
    body.AddFileContent("filename", fileName, "application/octet-stream", source);
    body.FinishBody();
    return body;
}

TEST(THttpDataStream, BoundaryIsTheCreationTime)
{
    EXPECT_EQ(MultipartBoundary({2026, 1, 2, 3, 4, 5, 6}), "-------------------------20260102030405006");
    EXPECT_EQ(MultipartBoundary({1999, 12, 31, 23, 59, 59, 999}), "-------------------------19991231235959999");
    // The same millisecond gives the same boundary, the next one differs in the last digit.
    EXPECT_EQ(MultipartBoundary({2026, 5, 6, 7, 8, 9, 10}), MultipartBoundary({2026, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(MultipartBoundary({2026, 5, 6, 7, 8, 9, 11}).back(), '1');

    const LocalDateTime before = LocalNow();
    THttpDataStream body;
    const LocalDateTime after = LocalNow();
    EXPECT_EQ(body.Boundary().size(), 42u);
    EXPECT_TRUE(body.Boundary() == MultipartBoundary(before) || body.Boundary() == MultipartBoundary(after));
    EXPECT_EQ(body.GetContentType(), "multipart/form-data; boundary=" + body.Boundary());
    EXPECT_EQ(body.Bytes(), "");
}

TEST(THttpDataStream, FirmwareFormByteForByte)
{
    const std::string image("\x7F" "ELF\0\r\n--\xFF", 10);
    const THttpDataStream body = FirmwareForm(image);
    const std::string& b = body.Boundary();
    const std::string expected =
        b + "\r\nContent-Disposition: form-data; name=\"redirect\"\r\n\r\nman_firm.htm\r\n" +
        b + "\r\nContent-Disposition: form-data; name=\"failure\"\r\n\r\nfail.htm\r\n" +
        b + "\r\nContent-Disposition: form-data; name=\"type\"\r\n\r\nfile_upload\r\n" +
        b + "\r\nContent-Disposition: form-data; name=\"filename\"; filename=\"C:\\fw\\image.bin\"\r\n"
            "Content-Type: application/octet-stream\r\n\r\n" + image + "\r\n" +
        "--\r\n" + b + "\r\n";
    EXPECT_EQ(body.Bytes(), expected);
    EXPECT_EQ(Count(body.Bytes(), b), 5u);
    EXPECT_EQ(body.Bytes().substr(0, b.size()), b);
    EXPECT_EQ(body.Position(), 0u);
}

TEST(THttpDataStream, EmptyFileAndQuotedNameAreWrittenUnchanged)
{
    THttpDataStream body;
    std::istringstream empty("");
    body.AddFileContent("f", "a\"b.bin", "text/plain", empty);
    EXPECT_EQ(body.Bytes(), body.Boundary() + "\r\nContent-Disposition: form-data; name=\"f\"; filename=\"a\"b.bin\"\r\n"
                                              "Content-Type: text/plain\r\n\r\n\r\n");
    EXPECT_EQ(body.Position(), body.Bytes().size());
}

TEST(THttpDataStream, SourceIsReadFromItsStart)
{
    THttpDataStream body;
    std::istringstream source("0123456789");
    source.seekg(5);
    body.AddFileContent("f", "n", "t", source);
    EXPECT_NE(body.Bytes().find("\r\n\r\n0123456789\r\n"), std::string::npos);
}

TEST(THttpDataStream, AddFileNamesItByItsPathAndRefusesAMissingFile)
{
    const std::string path =
        (std::filesystem::temp_directory_path() / ("q70-multipart-" + std::to_string(MonotonicMs()) + ".bin")).string();
    std::ofstream(path, std::ios::binary) << std::string("abc\0def", 7);
    THttpDataStream body;
    body.AddFile("filename", path, "application/octet-stream");
    std::remove(path.c_str());
    EXPECT_NE(body.Bytes().find("filename=\"" + path + "\"\r\n"), std::string::npos);
    EXPECT_NE(body.Bytes().find(std::string("\r\n\r\nabc\0def\r\n", 11)), std::string::npos);

    const std::string before(body.Bytes());
    EXPECT_THROW(body.AddFile("filename", "/nonexistent/dir/file.bin", "x"), std::runtime_error);
    EXPECT_EQ(body.Bytes(), before);
}

std::string ExpectedPostHeader(const std::string& host, const THttpDataStream& body, const std::string& auth)
{
    std::string header = "POST /man.cgi HTTP/1.0\r\nHost: " + host +
                         "\r\nAccept: text/html, */*\r\nReferer: http://127.0.0.1/maintain.htm\r\n"
                         "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\nContent-Type: " +
                         body.GetContentType() + "\r\n";
    if (!body.Bytes().empty())
        header += "Content-Length: " + std::to_string(body.Bytes().size()) + "\r\n";
    return header + auth + "\r\n";
}

TEST(PostUploadBody, WritesTheRequestByteForByte)
{
    struct Case {
        const char* name;
        std::string user, password, auth;
        bool emptyBody;
    };
    const std::vector<Case> cases = {
        {"credentials", "admin", "admin", "Authorization: Basic YWRtaW46YWRtaW4=\r\n", false},
        {"empty password keeps the colon", "admin", "", "Authorization: Basic YWRtaW46\r\n", false},
        {"empty user: no Authorization", "", "pw", "", false},
        {"empty body: no Content-Length", "admin", "admin", "Authorization: Basic YWRtaW46YWRtaW4=\r\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        THttpDataStream body;
        if (!c.emptyBody)
            body = FirmwareForm(std::string(200000, '\x5A'));
        ScriptedServer server(80, {Answer("HTTP/1.0 200 OK\r\n\r\n")});
        const UploadOutcome outcome = PostUploadBody("http://127.0.0.1/man.cgi", body, c.user, c.password,
                                                     "http://127.0.0.1/maintain.htm");
        ASSERT_TRUE(server.WaitServed(1));
        EXPECT_TRUE(outcome.success);
        EXPECT_EQ(server.requests().at(0), ExpectedPostHeader("127.0.0.1", body, c.auth) + std::string(body.Bytes()));
    }
}

// The request line and Host of other URLs: a port is kept in Host, and bytes
// that cannot stand in a request line are encoded instead of breaking it.
TEST(PostUploadBody, RequestLineOfOtherUrls)
{
    const THttpDataStream body = FirmwareForm("x");
    ScriptedServer server(0, {Answer("HTTP/1.0 200 OK\r\n\r\n")});
    const std::string host = "127.0.0.1:" + std::to_string(server.port());
    const UploadOutcome outcome =
        PostUploadBody("http://" + host + "/up load\r\nX: y\xE9?a=%41", body, "admin", "admin", "r");
    EXPECT_TRUE(outcome.success);
    ASSERT_TRUE(server.WaitServed(1));
    const std::string request = server.requests().at(0);
    EXPECT_EQ(request.substr(0, request.find("\r\nAccept: ")),
              "POST /up%20load%0D%0AX:%20y%E9?a=%41 HTTP/1.0\r\nHost: " + host);
}

TEST(PostUploadBody, OutcomeFollowsTheAnswer)
{
    struct Case {
        const char* name;
        std::string answer;
        bool success;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"302 with Location", "HTTP/1.0 302 Found\r\nLocation: man_firm.htm\r\n\r\n", false, "HTTP/1.0 302 Found"},
        {"200", "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<html></html>", true, "HTTP/1.0 200 OK"},
        {"204", "HTTP/1.1 204 No Content\r\n\r\n", true, "HTTP/1.1 204 No Content"},
        {"404", "HTTP/1.0 404 Not Found\r\n\r\n<html>x</html>", false, "HTTP/1.0 404 Not Found"},
        {"500", "HTTP/1.0 500 Internal Error\r\n\r\n", false, "HTTP/1.0 500 Internal Error"},
        {"200 with Location", "HTTP/1.0 200 OK\r\nlocation: x\r\n\r\n", false, "HTTP/1.0 200 OK"},
        {"304", "HTTP/1.0 304 Not Modified\r\n\r\n", false, "HTTP/1.0 304 Not Modified"},
        {"status not a number", "HTTP/1.0 OK\r\n\r\n", false, "HTTP/1.0 OK"},
    };
    const THttpDataStream body = FirmwareForm("image");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedServer server(80, {Answer(c.answer)});
        const UploadOutcome outcome = PostUploadBody("http://127.0.0.1/man.cgi", body, "admin", "admin", "r");
        EXPECT_EQ(outcome.success, c.success);
        EXPECT_EQ(outcome.message, c.message);
    }
}

// The appliance drops a too large image in the middle of the upload.
TEST(PostUploadBody, DroppedUploadIsASocketErrorWithItsNumber)
{
    const THttpDataStream body = FirmwareForm(std::string(8 << 20, '\x11'));
    ScriptedReply reply;
    reply.dropAfterBytes = 100000;
    ScriptedServer server(80, {reply});
    const UploadOutcome outcome = PostUploadBody("http://127.0.0.1/man.cgi", body, "admin", "admin", "r");
    EXPECT_FALSE(outcome.success);
    EXPECT_EQ(outcome.message.rfind("Socket Error # 10053\r\n", 0), 0u) << outcome.message;
    EXPECT_GT(outcome.message.size(), 22u);
}

// The appliance takes the whole upload, then throws it away without a word.
TEST(PostUploadBody, ResetBeforeAnyAnswerCountsAsADroppedUpload)
{
    REQUIRE_RESETTING_CLOSE();
    const THttpDataStream body = FirmwareForm(std::string(100000, '\x12'));
    ScriptedReply reply = Answer("");
    reply.after = ScriptedReply::After::Reset;
    ScriptedServer server(80, {reply});
    const UploadOutcome outcome = PostUploadBody("http://127.0.0.1/man.cgi", body, "admin", "admin", "r");
    EXPECT_FALSE(outcome.success);
    EXPECT_EQ(outcome.message, "Socket Error # 10053\r\n" + SocketErrorText(10053));
    ASSERT_TRUE(server.WaitServed(1));
    EXPECT_EQ(server.requests().at(0).size(), BuildPostHeader("/man.cgi", "127.0.0.1", "r", body.GetContentType(),
                                                              body.Bytes().size(), "admin", "admin").size() +
                                                  body.Bytes().size());
}

TEST(PostUploadBody, ConnectionFailuresAreSocketErrors)
{
    REQUIRE_PRIVATE_NETWORK();
    const THttpDataStream body = FirmwareForm("x");
    UploadOutcome outcome = PostUploadBody("http://127.0.0.1/man.cgi", body, "admin", "admin", "r");
    EXPECT_FALSE(outcome.success);
    ExpectMessage(outcome.message, "Socket Error # 10061\r\nConnection refused");
    outcome = PostUploadBody("http://10.9.9.9/man.cgi", body, "admin", "admin", "r");
    ExpectMessage(outcome.message, "Socket Error # 10051\r\nNetwork is unreachable");
    {
        ScriptedServer server(80, {Answer("")});
        outcome = PostUploadBody("http://127.0.0.1/man.cgi", body, "admin", "admin", "r");
        EXPECT_FALSE(outcome.success);
        EXPECT_EQ(outcome.message, "Connection closed without an answer");
    }
}

struct StatusCase {
    const char* name;
    std::string received;
    std::optional<int> status;
    std::string statusLine;
    bool location;
};

TEST(ParsePostAnswer, ReadsTheStatusLineAndLocation)
{
    const std::vector<StatusCase> cases = {
        {"plain", "HTTP/1.0 302 Found\r\nLocation: a\r\n\r\n", 302, "HTTP/1.0 302 Found", true},
        {"no reason", "HTTP/1.0 200\r\n\r\n", 200, "HTTP/1.0 200", false},
        {"bare line feed", "HTTP/1.0 404 X\nServer: y\n\n", 404, "HTTP/1.0 404 X", false},
        {"location after the head is body", "HTTP/1.0 200 OK\r\n\r\nLocation: a\r\n", 200, "HTTP/1.0 200 OK", false},
        {"letters in the code", "HTTP/1.0 2x0 OK\r\n\r\n", std::nullopt, "HTTP/1.0 2x0 OK", false},
        {"huge code", "HTTP/1.0 99999999999 OK\r\n\r\n", std::nullopt, "HTTP/1.0 99999999999 OK", false},
        {"no line end", "HTTP/1.0 200 OK", std::nullopt, "", false},
        {"empty", "", std::nullopt, "", false},
    };
    for (const StatusCase& c : cases) {
        SCOPED_TRACE(c.name);
        const PostAnswer answer = ParsePostAnswer(c.received);
        EXPECT_EQ(answer.status, c.status);
        EXPECT_EQ(answer.statusLine, c.statusLine);
        EXPECT_EQ(answer.hasLocation, c.location);
    }
}

} // namespace

namespace {

TEST(PostUploadBody, WaitsAreBounded)
{
    const THttpDataStream body = FirmwareForm("x");
    {
        // The default bounds.
        const UploadTimeouts defaults;
        EXPECT_EQ(defaults.connectMs, 5000);
        EXPECT_EQ(defaults.idleMs, 120000);
    }
    struct Case {
        const char* name;
        std::string answer;
        bool success;
        std::string message;
    };
    for (const Case& c : {Case{"silence", "", false, "Socket Error # 10060\r\nConnection timed out"},
                          Case{"answer that never closes is taken", "HTTP/1.0 200 OK\r\n\r\n", true,
                               "HTTP/1.0 200 OK"}}) {
        SCOPED_TRACE(c.name);
        ScriptedServer server(80, {AnswerAndKeepOpen(c.answer, 3000)});
        const std::int64_t start = MonotonicMs();
        const UploadOutcome outcome =
            PostUploadBody("http://127.0.0.1/man.cgi", body, "admin", "admin", "r", {1000, 700});
        const std::int64_t elapsed = MonotonicMs() - start;
        EXPECT_EQ(outcome.success, c.success);
        ExpectMessage(outcome.message, c.message);
        EXPECT_GE(elapsed, 650);
        EXPECT_LT(elapsed, 1200);
    }
}

} // namespace
