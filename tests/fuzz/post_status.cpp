// The firmware POST's answer parsing and outcome on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "device/MultipartBody.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string received(reinterpret_cast<const char*>(data), size);
    const PostAnswer answer = ParsePostAnswer(received);
    const UploadOutcome outcome = ClassifyPostAnswer(answer);
    if (outcome.message != answer.statusLine)
        std::abort();
    if (outcome.success && (!answer.status || *answer.status < 200 || *answer.status > 299 || answer.hasLocation))
        std::abort();
    if (answer.statusLine.find('\n') != std::string::npos)
        std::abort();
    return 0;
}
