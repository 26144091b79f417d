// 100 text lookups in a language file of 5,000 lines, against 100 plain
// line-by-line reads of the same file (the cost of the reading alone).
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/CurrentDevice.h"
#include "app/LocalizeText.h"

namespace {

constexpr int FileLines = 5000;
constexpr int Lookups = 100;
constexpr int Runs = 7;

double Milliseconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

} // namespace

int main()
{
    namespace fs = std::filesystem;
    const fs::path directory = fs::temp_directory_path() / ("q70-bench-localize-" + std::to_string(::getpid()));
    fs::create_directories(directory);
    fs::current_path(directory);
    {
        std::ofstream file("language", std::ios::binary);
        for (int i = 0; i < FileLines; ++i)
            file << "Caption " << i << " of the window=Beschriftung " << i
                 << " des Fensters (\xc3\xa4\xc3\xb6\xc3\xbc)\r\n";
    }
    // Keys spread over the file, a tenth of them missing (a whole scan each).
    std::vector<std::string> keys;
    for (int i = 0; i < Lookups; ++i)
        keys.push_back(i % 10 == 9 ? "Missing caption " + std::to_string(i)
                                   : "Caption " + std::to_string(i * FileLines / Lookups) + " of the window");
    CurrentDevice.TranslationOn = 1;

    // The machine may be busy: each figure is the best of several runs.
    std::size_t found = 0, lines = 0;
    double lookupMs = 1e9, readMs = 1e9;
    for (int run = 0; run < Runs; ++run) {
        found = 0;
        const auto lookupStart = std::chrono::steady_clock::now();
        for (const std::string& key : keys)
            found += LocalizeText(key) != key;
        lookupMs = std::min(lookupMs, Milliseconds(std::chrono::steady_clock::now() - lookupStart));

        lines = 0;
        const auto readStart = std::chrono::steady_clock::now();
        for (int i = 0; i < Lookups; ++i) {
            std::FILE* file = std::fopen("language", "rb");
            char buffer[1024];
            while (std::fgets(buffer, sizeof buffer, file))
                ++lines;
            std::fclose(file);
        }
        readMs = std::min(readMs, Milliseconds(std::chrono::steady_clock::now() - readStart));
    }

    const auto fileBytes = fs::file_size("language");
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(directory);
    std::printf("%d lookups in a %d-line language file of %ju bytes, every line with non-ASCII text\n"
                "(%zu translated, %zu lines read by the baseline), best of %d runs\n",
                Lookups, FileLines, static_cast<std::uintmax_t>(fileBytes), found, lines, Runs);
    std::printf("  plain reads of the file   %7.1f ms\n", readMs);
    std::printf("  lookups                   %7.1f ms   (goal < 50 ms)\n", lookupMs);
    std::printf("  ratio                     %7.2f\n", lookupMs / readMs);
    return found == 90 ? 0 : 1;
}
