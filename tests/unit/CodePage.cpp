#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// The expectations are Windows-1252's, the code page of the Linux build and
// of a western Windows workstation.
#ifdef _WIN32
#define REQUIRE_WINDOWS_1252()                                                                                     \
    do {                                                                                                           \
        if (GetACP() != 1252)                                                                                      \
            GTEST_SKIP() << "the ANSI code page is " << GetACP() << ", not 1252";                                \
    } while (false)
#else
#define REQUIRE_WINDOWS_1252() (void)0
#endif

struct ToAnsiCase {
    const char* name;
    std::string utf8;
    std::string ansi;
};

TEST(CodePage, Utf8ToAnsiKeepsWhatTheCodePageHasAndMarksTheRest)
{
    REQUIRE_WINDOWS_1252();
    const ToAnsiCase cases[] = {
        {"empty", "", ""},
        {"ASCII", "NAS-01 admin", "NAS-01 admin"},
        {"embedded zero", std::string("a\0b", 3), std::string("a\0b", 3)},
        {"Latin-1 letters", "M\xC3\xBCller \xC3\xA9t\xC3\xA9", "M\xFCller \xE9t\xE9"},
        {"the 0x80 row", "\xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D \xC5\xA0", "\x80 \x93q\x94 \x8A"},
        // No near look-alike: a letter the code page lacks is not turned into
        // a different one ("A" for A-macron), it is marked.
        {"letters outside", "\xC4\x80\xC5\x81x", "??x"},
        {"CJK", "\xE6\x97\xA5\xE6\x9C\xAC", "??"},
        {"invalid bytes between letters", "a\xFF" "b\xC3" "c", "a?b?c"},
        {"lone continuation byte", "x\x80y", "x?y"},
    };
    for (const ToAnsiCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Utf8ToAnsi(c.utf8), c.ansi);
    }
}

TEST(CodePage, EveryAnsiByteSurvivesTheRoundTrip)
{
    REQUIRE_WINDOWS_1252();
    std::string every;
    for (int b = 1; b < 256; ++b)
        every += static_cast<char>(b);
    const std::string utf8 = AnsiToUtf8(every);
    EXPECT_EQ(Utf8ToAnsi(utf8), every);
    // Spot checks of the way there: the euro sign, the typographic quotes and
    // an unassigned byte that passes as the C1 control of its value.
    EXPECT_EQ(AnsiToUtf8("\x80"), "\xE2\x82\xAC");
    EXPECT_EQ(AnsiToUtf8("\x93\x94"), "\xE2\x80\x9C\xE2\x80\x9D");
    EXPECT_EQ(AnsiToUtf8("\x81"), "\xC2\x81");
    EXPECT_EQ(AnsiToUtf8("\xFF"), "\xC3\xBF");
}

} // namespace
