#include "device/StatusPage.h"

#include <gtest/gtest.h>

#include <random>

#include "app/CurrentDevice.h"
#include "platform/Clock.h"
#include "support/RecordingNotifier.h"

namespace {

using namespace std::string_literals;

struct ExtractCase {
    const char* what;
    std::string page;
    std::string key;
    std::string expected;
};

TEST(ExtractPageValue, PicksTheValueOfTheFirstOccurrence)
{
    const std::string options = "<option value=\"a\">a</option><option value=\"b\">b</option>";
    const ExtractCase cases[] = {
        {"plain value", "host_name=\"disk\";\r\n", "host_name=\"", "disk"},
        {"empty value", "host_name=\"\";\r\n", "host_name=\"", ""},
        {"quotes inside the value", "share_list=\"" + options + "\";\r\n", "share_list=\"", options},
        {"first of two", "host_name=\"one\";\r\nhost_name=\"two\";\r\n", "host_name=\"", "one"},
        {"lone LF does not end it", "host_name=\"a\";\ngroup_name=\"b\";\r\n", "host_name=\"",
         "a\";\ngroup_name=\"b"},
        {"quote semicolon CR without LF", "host_name=\"a\";\rb\";\r\n", "host_name=\"", "a\";\rb"},
        {"line breaks inside the value", "disk_scan=\"one\ntwo\r\n\";\r\n", "disk_scan=\"", "one\ntwo\r\n"},
        {"earlier terminators ignored", "x=\"1\";\r\nhost_name=\"v\";\r\n", "host_name=\"", "v"},
        {"text before the key", "<input name=host_name=\"box\";\r\n", "host_name=\"", "box"},
        {"missing key", "group_name=\"g\";\r\n", "host_name=\"", ""},
        {"key without terminator", "host_name=\"disk\"\r\n", "host_name=\"", ""},
        {"terminator only before the key", "a=\"\";\r\nhost_name=\"disk", "host_name=\"", ""},
        {"empty page", "", "host_name=\"", ""},
        {"key at the very end", "host_name=\"", "host_name=\"", ""},
        {"end of a longer name matches", "ftps_share_list=\"x\";\r\n", "share_list=\"", "x"},
        {"shorter name first wins", "share_list=\"s\";\r\nftps_share_list=\"f\";\r\n", "share_list=\"", "s"},
        {"letter case is significant", "HOST_NAME=\"A\";\r\nhost_name=\"b\";\r\n", "host_name=\"", "b"},
        {"value runs into a later setting", "free_size=\" 12 \";\nx=\"y\";\r\n", "free_size=\"",
         " 12 \";\nx=\"y"},
    };
    for (const ExtractCase& c : cases)
        EXPECT_EQ(ExtractPageValue(c.page, c.key), c.expected) << c.what;
}

struct OptionCase {
    const char* what;
    std::string value;
    std::vector<std::string> expected;
};

TEST(ParseOptionValues, GivesOneNamePerEntry)
{
    const OptionCase cases[] = {
        {"three entries",
         "<option value=\"a\">a</option><option value=\"b\">b</option><option value=\"c\">c</option>",
         {"a", "b", "c"}},
        {"empty value attribute keeps its place",
         "<option value=\"a\">a</option><option value=\"\">x</option><option value=\"c\">c</option>",
         {"a", "", "c"}},
        {"repeats are kept", "<option value=\"a\">a</option><option value=\"a\">a</option>", {"a", "a"}},
        {"no marker", "<option>a</option>", {}},
        {"empty value", "", {}},
        {"marker without end, consumed one character at a time", "xvalue=\"ab", {"", ""}},
        {"two markers without end", "value=\"a value=\"b", std::vector<std::string>(10)},
        {"end before the marker", "x\">y<option value=\"n\">n</option>", {"", "n"}},
        {"end at the marker's own quote", "value=\">rest value=\"k\">", {"", "k"}},
        {"display text with an end of its own", "<option value=\"a\">b\">c</option>", {"a"}},
        {"padded display text", "<option value=\"u1\">u1&nbsp;&nbsp;Enable </option>", {"u1"}},
        {"name with spaces and quotes", "<option value=\"My \"Docs\">x</option>", {"My \"Docs"}},
        {"UTF-8 name decoded", "<option value=\"caf\xC3\xA9\">caf\xC3\xA9</option>", {"caf\xE9"}},
        {"name outside the code page", "<option value=\"\xE6\x97\xA5\">x</option>", {"?"}},
    };
    for (const OptionCase& c : cases)
        EXPECT_EQ(ParseOptionValues(c.value), c.expected) << c.what;
}

// The position arithmetic exactly as written out, one fresh search per pass.
std::vector<std::string> ParseOptionValuesLiterally(std::string rest)
{
    std::vector<std::string> names;
    for (;;) {
        const std::size_t p0 = rest.find("value=\"");
        if (p0 == std::string::npos)
            return names;
        const std::size_t p = p0 + 1;
        const std::size_t q0 = rest.find("\">");
        const std::size_t q = q0 == std::string::npos ? 0 : q0 + 1;
        names.push_back(q > p + 7 ? DecodeUtf8Text(rest.substr(p + 6, q - p - 7)) : "");
        rest = q == 0 ? rest.substr(1) : rest.substr(q + 1);
    }
}

TEST(ParseOptionValues, AgreesWithTheLiteralArithmeticOnRandomText)
{
    std::mt19937 random(7);
    const std::string alphabet = "value=\"\">x<";
    for (int round = 0; round < 3000; ++round) {
        std::string value;
        const int length = static_cast<int>(random() % 60);
        for (int i = 0; i < length; ++i) {
            if (random() % 6 == 0)
                value += random() % 2 ? "value=\"" : "\">";
            else
                value += alphabet[random() % alphabet.size()];
        }
        ASSERT_EQ(ParseOptionValues(value), ParseOptionValuesLiterally(value)) << value;
    }
}

TEST(ParseOptionValues, EndsQuicklyOnALongEntryWithoutEnd)
{
    // One marker at the far end of a long text: every character before it is
    // dropped by one pass, each of which gives an empty name.
    const std::string value = std::string(200000, 'x') + "value=\"abc";
    const std::int64_t started = MonotonicMs();
    const std::vector<std::string> names = ParseOptionValues(value);
    EXPECT_EQ(names.size(), 200001u);
    EXPECT_LT(MonotonicMs() - started, 5000);
}

struct DecodeCase {
    const char* what;
    std::string bytes;
    std::string expected;
};

TEST(DecodeUtf8Text, ConvertsToTheCodePage)
{
    const DecodeCase cases[] = {
        {"ASCII", "Public", "Public"},
        {"empty", "", ""},
        {"Latin letters", "caf\xC3\xA9 \xC3\x9C", "caf\xE9 \xDC"},
        {"euro sign", "\xE2\x82\xAC", "\x80"},
        {"character outside the code page", "a\xE6\x97\xA5z", "a?z"},
        {"invalid byte", "a\xFF" "b", "a?b"},
        {"cut sequence", "ab\xC3", "ab?"},
        {"lone continuation byte", "\x80x", "?x"},
        {"overlong form", "\xC0\xAF", "??"},
        {"ends at NUL", "ab\0cd"s, "ab"},
    };
    for (const DecodeCase& c : cases)
        EXPECT_EQ(DecodeUtf8Text(c.bytes), c.expected) << c.what;
}

TEST(DecodeUtf8Text, KeepsLongNamesWhole)
{
    struct LongCase {
        std::string unit;
        std::string ansi;
        int repeat;
    };
    const LongCase cases[] = {
        {"a", "a", 513},              // over 512 bytes
        {"\xC3\xA9", "\xE9", 256},    // over 255 units, 512 bytes
        {"\xC3\xA9", "\xE9", 1500},   // more units than a 1024-unit area
        {"\xE2\x82\xAC", "\x80", 2000},
    };
    for (const LongCase& c : cases) {
        std::string bytes, expected;
        for (int i = 0; i < c.repeat; ++i) {
            bytes += c.unit;
            expected += c.ansi;
        }
        EXPECT_EQ(DecodeUtf8Text(bytes), expected) << c.repeat << " x " << c.unit.size() << " bytes";
    }
}

// FetchStatusPage against a scripted page fetch.
class FetchStatusPageTest : public ::testing::Test {
protected:
    struct Call {
        std::string host, user, password, path;
    };

    void SetUp() override
    {
        CurrentDevice = {};
        CurrentDevice.Address = "192.168.1.20";
        CurrentDevice.UserName = "admin";
        CurrentDevice.Password = "admin";
        SetStatusPageFetcher([this](const std::string& host, const std::string& user, const std::string& password,
                                    const std::string& path) {
            calls.push_back({host, user, password, path});
            if (onCall)
                onCall(calls.size());
            if (calls.size() <= script.size())
                return script[calls.size() - 1];
            return PageResponse{};
        });
    }
    void TearDown() override
    {
        SetStatusPageFetcher({});
        CurrentDevice = {};
    }

    RecordingNotifier notifier;
    std::vector<PageResponse> script; // answers in order; then nothing
    std::vector<Call> calls;
    std::function<void(std::size_t)> onCall;
};

const PageResponse NoAnswer{};
const PageResponse GoodPage{"HTTP/1.1 200 OK\r\n\r\n", "<HTML>host_name=\"disk\";\r\n</HTML>", 200};
const PageResponse RefusedPage{"HTTP/1.0 401 Unauthorized\r\n\r\n", "<html>401</html>", 401};
const PageResponse NoStatusLine{"", "<HTML>x", 1};
const PageResponse ServerError{"HTTP/1.0 500 Error\r\n\r\n", "<HTML>500", 500};

TEST_F(FetchStatusPageTest, RetriesUntilABodyComesAndReportsAnythingButAGoodPage)
{
    struct Case {
        const char* what;
        std::vector<PageResponse> script;
        std::size_t tries;
        bool box;
        std::string body;
    };
    const Case cases[] = {
        {"appliance off", {}, 8, true, ""},
        {"good page at once", {GoodPage}, 1, false, GoodPage.body},
        {"good page on the third try", {NoAnswer, NoAnswer, GoodPage}, 3, false, GoodPage.body},
        {"good page on the last try", {NoAnswer, NoAnswer, NoAnswer, NoAnswer, NoAnswer, NoAnswer, NoAnswer, GoodPage},
         8, false, GoodPage.body},
        {"good page too late", std::vector<PageResponse>(8, NoAnswer), 8, true, ""},
        {"wrong credentials", {RefusedPage, GoodPage}, 1, true, RefusedPage.body},
        {"page without status", {NoStatusLine}, 1, true, NoStatusLine.body},
        {"server error after silence", {NoAnswer, ServerError}, 2, true, ServerError.body},
        {"status without body ends the loop", {PageResponse{"", "", 200}}, 1, true, ""},
    };
    for (const Case& c : cases) {
        script = c.script;
        calls.clear();
        notifier.boxes.clear();
        EXPECT_EQ(FetchStatusPage(), c.body) << c.what;
        EXPECT_EQ(calls.size(), c.tries) << c.what;
        ASSERT_EQ(notifier.boxes.size(), c.box ? 1u : 0u) << c.what;
        if (c.box) {
            EXPECT_EQ(notifier.boxes[0].text, "Connection Fail");
            EXPECT_EQ(notifier.boxes[0].caption, "Connect");
            EXPECT_EQ(notifier.boxes[0].icon, MessageIcon::Error);
            EXPECT_FALSE(notifier.boxes[0].confirmation);
        }
    }
}

TEST_F(FetchStatusPageTest, ReadsTheCurrentDeviceAtEachTry)
{
    script = {NoAnswer, NoAnswer, GoodPage};
    onCall = [](std::size_t call) {
        if (call == 1) {
            CurrentDevice.Address = "192.168.1.30";
            CurrentDevice.Password = "secret";
        }
        if (call == 2)
            CurrentDevice.UserName = "root";
    };
    FetchStatusPage();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].host, "192.168.1.20");
    EXPECT_EQ(calls[0].password, "admin");
    EXPECT_EQ(calls[1].host, "192.168.1.30");
    EXPECT_EQ(calls[1].user, "admin");
    EXPECT_EQ(calls[1].password, "secret");
    EXPECT_EQ(calls[2].user, "root");
    for (const Call& call : calls)
        EXPECT_EQ(call.path, "/utility_use.htm");
}

TEST_F(FetchStatusPageTest, WaitsBeforeEveryTry)
{
    struct Case {
        std::vector<PageResponse> script;
        std::int64_t atLeastMs;
    };
    const Case cases[] = {{{GoodPage}, 20}, {{}, 8 * 20}};
    for (const Case& c : cases) {
        script = c.script;
        const std::int64_t started = MonotonicMs();
        FetchStatusPage();
        EXPECT_GE(MonotonicMs() - started, c.atLeastMs);
    }
}

} // namespace
