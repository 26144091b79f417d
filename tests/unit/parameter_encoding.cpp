#include "device/ParameterEncoding.h"

#include <gtest/gtest.h>

namespace {

struct EncodingCase {
    std::string input;
    std::string expected;
};

TEST(EncodeParameter, EncodesEverythingButLettersAndDigits)
{
    const EncodingCase cases[] = {
        {"", ""},
        {"a b", "a+b"},
        {"x&y=z", "x%26y%3Dz"},
        {"100%", "100%25"},
        {"+", "%2B"},
        {"-_.~", "%2D%5F%2E%7E"},
        {"*/", "%2A%2F"},
        {"\xE9", "%E9"},
        {"\xAB", "%AB"},
        {"\n", "%0A"},
        {std::string(1, '\0'), "%00"},
        {"\xFF", "%FF"},
        {"AZaz09", "AZaz09"},
        {"  ", "++"},
        {"My Folder-1", "My+Folder%2D1"},
        {"\"<>", "%22%3C%3E"},
    };
    for (const EncodingCase& c : cases)
        EXPECT_EQ(EncodeParameter(c.input), c.expected) << "input: " << c.input;
}

TEST(KeepParameterWhole, EncodesOnlyWhatEndsOrChangesAParameter)
{
    const EncodingCase cases[] = {
        {"2026", "2026"},
        {"ntp.example.org", "ntp.example.org"},
        {"a b=c/d", "a b=c/d"},
        {"\xE9", "\xE9"},
        {"x&y", "x%26y"},
        {"#1", "%231"},
        {"50%", "50%25"},
        {"1+1", "1%2B1"},
    };
    for (const EncodingCase& c : cases)
        EXPECT_EQ(KeepParameterWhole(c.input), c.expected) << c.input;
}

} // namespace
