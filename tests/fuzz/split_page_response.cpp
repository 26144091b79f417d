// The page split on arbitrary bytes: header and body are the text cut at the
// first marker, and without a marker nothing is kept.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "device/PageFetch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string upper = text;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    const std::size_t marker = upper.find("<HTML>");
    const PageResponse response = SplitPageResponse(text, 1);
    if (marker == std::string::npos) {
        if (response.status != 0 || !response.header.empty() || !response.body.empty())
            std::abort();
        return 0;
    }
    // A status of 0 can be read from the text itself ("HTTP/1.0 0").
    if (response.header.size() != marker || response.header + response.body != text)
        std::abort();
    if (upper.find("HTTP/") == std::string::npos && response.status != 1)
        std::abort();
    const PageResponse moved = SplitPageResponse(std::string(text), 1);
    if (moved.header != response.header || moved.body != response.body || moved.status != response.status)
        std::abort();
    return 0;
}
