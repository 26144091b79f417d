// Folder names from the status page: arbitrary bytes claimed to be UTF-8.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "device/StatusPage.h"
#include "platform/CodePage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string ansi = DecodeUtf8Text(bytes);
    // Every character comes from at least one byte, and the name stops at its first NUL.
    const std::size_t nameLength = std::strlen(bytes.c_str());
    if (ansi.size() > nameLength || ansi.find('\0') != std::string::npos)
        std::abort();
    // What came out is plain code-page text: it survives a round trip.
    if (DecodeUtf8Text(AnsiToUtf8(ansi)) != ansi)
        std::abort();
    return 0;
}
