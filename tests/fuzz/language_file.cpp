// Any bytes as the language file: the lookup never fails and gives what the
// plain fgets reading gives.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "app/LocalizeText.h"
#include "tests/support/LiteralLocalize.h"

namespace {

// In memory where there is a memory file system: each input is written once.
std::string FilePath()
{
    const std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    const std::string path = folder + "/q70-fuzz-language-" + std::to_string(getpid());
    static const std::string removed = path;
    std::atexit([] { std::remove(removed.c_str()); });
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = FilePath();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    // The texts the first window asks for, and the awkward ones.
    static const std::string texts[] = {"Connect", "Search for Remote Devices", "IP Address", "", "=", "?",
                                        "Subnet differ, Connection fail", "Gr\xf6\xdf" "e"};
    for (const std::string& english : texts) {
        if (LocalizeTextFromFile(path.c_str(), english) != LiteralLocalizeFromFile(path.c_str(), english))
            std::abort();
    }
    return 0;
}
