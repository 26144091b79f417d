#include "app/LocalizeText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "app/CurrentDevice.h"
#include "support/LiteralLocalize.h"

namespace {

namespace fs = std::filesystem;

// Each test runs in a fresh working directory, where the lookup looks for "language".
class LanguageFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = fs::current_path();
        std::random_device seed;
        std::error_code failure;
        do
            directory_ = fs::temp_directory_path() / ("q70-language-" + std::to_string(seed()));
        while (!fs::create_directory(directory_, failure) && !failure);
        ASSERT_FALSE(failure) << failure.message();
        fs::current_path(directory_);
        CurrentDevice.TranslationOn = 1;
    }
    void TearDown() override
    {
        fs::current_path(previous_);
        fs::remove_all(directory_);
        CurrentDevice.TranslationOn = 0;
    }
    static void Write(const std::string& bytes)
    {
        std::ofstream out("language", std::ios::binary | std::ios::trunc);
        out << bytes;
    }

private:
    fs::path previous_, directory_;
};

struct LookupCase {
    const char* name;
    std::string file;
    std::string english;
    std::string expected;
};

TEST_F(LanguageFile, FollowsTheLineRules)
{
    const std::string longKey(1030, 'K');
    const char withZero[] = "Connect=Ver\0bunden\r\nConnect=Zwei\r\n";
    const std::string WithZero(withZero, sizeof withZero - 1);
    const LookupCase cases[] = {
        {"plain entry", "Connect=Verbinden\r\n", "Connect", "Verbinden"},
        {"empty translation", "Connect=\r\n", "Connect", "Connect"},
        {"LF only loses a character", "Connect=Verbinden\n", "Connect", "Verbinde"},
        {"last line without line end", "Other=x\r\nConnect=Verbinden", "Connect", "Verbind"},
        {"last line with one character", "Connect=V", "Connect", "Connect"},
        {"last line with two characters", "Connect=Vb", "Connect", "Connect"},
        {"last line with three characters", "Connect=Vbx", "Connect", "V"},
        {"key differs in case", "connect=verbinden\r\n", "Connect", "Connect"},
        {"key with trailing blank", "Connect =Verbinden\r\n", "Connect", "Connect"},
        {"longer key skipped, search goes on", "Connection fail=Keine\r\nConnect=Verbinden\r\n", "Connect",
         "Verbinden"},
        {"line without = ends the search", "Connect me\r\nConnect=Verbinden\r\n", "Connect", "Connect"},
        {"unrelated line without = is skipped", "# comment\r\n\r\nConnect=Verbinden\r\n", "Connect", "Verbinden"},
        {"first match wins", "Connect=Eins\r\nConnect=Zwei\r\n", "Connect", "Eins"},
        {"text with = never matches", "a=b=c\r\n", "a=b", "a=b"},
        {"translation may hold =", "Connect=a=b\r\n", "Connect", "a=b"},
        {"empty text matches a line starting with =", "Other=x\r\n=Leer\r\n", "", "Leer"},
        {"empty text stops at a line without =", "# comment\r\n=Leer\r\n", "", ""},
        {"blanks kept", "Connect=  Verbinden \r\n", "Connect", "  Verbinden "},
        {"UTF-8 converted to ANSI", "Connect=Verbinden \xc3\xa4\xe2\x82\xac\r\n", "Connect", "Verbinden \xe4\x80"},
        {"character outside the code page", "Connect=\xe4\xb8\xad\xe6\x96\x87\r\n", "Connect", "??"},
        {"invalid UTF-8 becomes the default character", "Connect=a\xff" "b\r\n", "Connect", "a?b"},
        {"key in UTF-8 compared after conversion", "Gr\xc3\xb6\xc3\x9f" "e=Size\r\n", "Gr\xf6\xdf" "e", "Size"},
        {"byte-order mark belongs to the first key", "\xef\xbb\xbf" "Connect=Verbinden\r\nConnect=Zwei\r\n",
         "Connect", "Zwei"},
        {"zero byte ends the line's text", WithZero, "Connect",
         "V"},
        {"long line read in pieces: the piece with the key",
         "Connect=" + std::string(1015, 'x') + "\r\n", "Connect", std::string(1013, 'x')},
        {"long line read in pieces: the rest is a line of its own",
         std::string(1023, 'y') + "Connect=Verbinden\r\n", "Connect", "Verbinden"},
        {"a key cut by the piece boundary does not match", longKey + "=x\r\n", longKey, longKey},
    };
    for (const LookupCase& c : cases) {
        Write(c.file);
        EXPECT_EQ(LocalizeText(c.english), c.expected) << c.name;
    }
}

TEST_F(LanguageFile, LinesAcrossReadBlocksAreWhole)
{
    // The file is read in blocks of 64 KiB: put the entry, a long line or a
    // line end on either side of a block boundary.
    constexpr int Block = 64 * 1024;
    const std::string entry = "Connect=Verbinden\r\n";
    for (const int offset : {-40, -19, -18, -10, -2, -1, 0, 1, 2, 700, 1022, 1023, 1024}) {
        std::string filler;
        while (static_cast<int>(filler.size()) < Block + offset - 30)
            filler += "Other text=Anderer Text\r\n";
        filler += std::string(Block + offset - filler.size() - 2, 'z') + "\r\n";
        Write(filler + entry);
        EXPECT_EQ(LocalizeText("Connect"), "Verbinden") << offset;
        Write(filler + std::string(1500, 'y') + entry);
        EXPECT_EQ(LocalizeText("Connect"), LiteralLocalizeFromFile("language", "Connect")) << offset;
        EXPECT_EQ(LocalizeText("Connect"), "Connect") << offset << ": the key is in the middle of a piece";
    }
}

// Files of random lines built from the bytes that matter (line ends, "=",
// zero bytes, UTF-8 and invalid bytes, parts of the keys), lines of any
// length: the lookup gives what the plain reading gives.
TEST_F(LanguageFile, AgreesWithThePlainReading)
{
    std::mt19937 random(20261209);
    const std::string keys[] = {"Connect", "Connection fail", "", "Set", "=", "Gr\xf6\xdf" "e", "?Connect"};
    const std::string parts[] = {"Connect", "Connection fail", "=", "\r\n", "\n", "\r", std::string(1, '\0'),
                                 "Set", "\xc3\xb6\xc3\x9f", "\xef\xbb\xbf", "\xff", "\xe2\x82", "Gr", "e", " ",
                                 std::string(700, 'a'), std::string(1021, 'b')};
    for (int file = 0; file < 300; ++file) {
        std::string bytes;
        const int pieces = std::uniform_int_distribution<int>(0, 40)(random);
        for (int i = 0; i < pieces; ++i)
            bytes += parts[std::uniform_int_distribution<std::size_t>(0, std::size(parts) - 1)(random)];
        Write(bytes);
        for (const std::string& key : keys)
            ASSERT_EQ(LocalizeText(key), LiteralLocalizeFromFile("language", key)) << "file " << file;
    }
}

TEST_F(LanguageFile, ByteOrderMarkMakesTheFirstKeyDiffer)
{
    // The mark has no ANSI form; it stays in front of the key as the default character.
    Write("\xef\xbb\xbf" "Connect=Verbinden\r\n");
    EXPECT_EQ(LocalizeText("Connect"), "Connect");
    EXPECT_EQ(LocalizeText("?Connect"), "Verbinden");
}

TEST_F(LanguageFile, EnglishWhenTheFileCannotBeRead)
{
    EXPECT_EQ(LocalizeText("Connect"), "Connect");
    std::filesystem::create_directory("language"); // opens, but reads nothing
    EXPECT_EQ(LocalizeText("Connect"), "Connect");
}

TEST_F(LanguageFile, OnlyTranslationOnOneConsultsTheFile)
{
    Write("Connect=Verbinden\r\n");
    for (const int value : {0, 2, -1}) {
        CurrentDevice.TranslationOn = value;
        EXPECT_EQ(LocalizeText("Connect"), "Connect") << value;
    }
    CurrentDevice.TranslationOn = 1;
    EXPECT_EQ(LocalizeText("Connect"), "Verbinden");
}

TEST_F(LanguageFile, EditsTakeEffectAtTheNextLookup)
{
    Write("Connect=Eins\r\n");
    EXPECT_EQ(LocalizeText("Connect"), "Eins");
    Write("Connect=Zwei\r\n");
    EXPECT_EQ(LocalizeText("Connect"), "Zwei");
}

TEST_F(LanguageFile, NamedFileIgnoresTheSwitch)
{
    CurrentDevice.TranslationOn = 0;
    std::ofstream("other", std::ios::binary) << "Connect=Verbinden\r\n";
    EXPECT_EQ(LocalizeTextFromFile("other", "Connect"), "Verbinden");
    EXPECT_EQ(LocalizeTextFromFile("missing", "Connect"), "Connect");
}

} // namespace
