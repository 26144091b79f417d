#include "device/Base64.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>

namespace {

#ifndef _WIN32
// The coreutils program is the reference.
std::string ReferenceBase64(const std::string& bytes)
{
    char path[] = "/tmp/q70-base64-XXXXXX";
    const int fd = mkstemp(path);
    EXPECT_GE(fd, 0);
    std::ofstream(path, std::ios::binary) << bytes;
    std::string output;
    if (FILE* pipe = popen(("base64 -w0 " + std::string(path)).c_str(), "r")) {
        char buffer[4096];
        std::size_t got;
        while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, got);
        pclose(pipe);
    }
    close(fd);
    std::remove(path);
    return output;
}
#endif

TEST(Base64, MatchesTheReferenceProgram)
{
#ifdef _WIN32
    GTEST_SKIP() << "the reference is the POSIX base64 program";
#else
    std::mt19937 random(20260901);
    std::vector<std::string> inputs = {"", "a", "ab", "abc", "admin:admin", "admin:", ":", std::string(1, '\0'),
                                       std::string("\xFF\xFE\xFD", 3), std::string(1, '\x80')};
    std::string everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte += static_cast<char>(b);
    inputs.push_back(everyByte);
    for (std::size_t length = 0; length < 70; ++length) {
        std::string bytes;
        for (std::size_t i = 0; i < length; ++i)
            bytes += static_cast<char>(random() & 0xFF);
        inputs.push_back(bytes);
    }
    inputs.push_back(std::string(100000, '\xA5'));
    for (const std::string& input : inputs) {
        SCOPED_TRACE(input.size());
        EXPECT_EQ(Base64Encode(input), ReferenceBase64(input));
    }
#endif
}

TEST(Base64, PaddingByLength)
{
    // Credentials of 3, 4 and 5 bytes: 4 characters, then 8 ending "==", then 8 ending "=".
    EXPECT_EQ(Base64Encode("a:b"), "YTpi");
    EXPECT_EQ(Base64Encode("ab:c"), "YWI6Yw==");
    EXPECT_EQ(Base64Encode("ab:cd"), "YWI6Y2Q=");
    const unsigned char raw[] = {0xE9, 0x00, 0xFF};
    EXPECT_EQ(Base64Encode(raw, 3), "6QD/");
    EXPECT_EQ(Base64Encode(raw, 0), "");
}

} // namespace
