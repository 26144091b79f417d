// The command exchange's answer parsing on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "device/CommandExchange.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const bool ended = data[0] & 1;
    const std::string received(reinterpret_cast<const char*>(data + 1), size - 1);
    const CommandAnswer answer = ParseCommandAnswer(received, ended);
    if (answer.location && (answer.location->empty() || answer.location->size() > 256))
        std::abort();
    if (answer.cookie && (answer.cookie->empty() || answer.cookie->size() > 256))
        std::abort();
    // Each kept line gains at most a CR in front of its LF.
    if (answer.header.size() > received.size() * 2 + 2)
        std::abort();
    if (!answer.header.empty() && answer.header.substr(answer.header.size() - 2) != "\r\n")
        std::abort();
    return 0;
}
