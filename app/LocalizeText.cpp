#include "app/LocalizeText.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "app/CurrentDevice.h"
#include "platform/CodePage.h"

namespace {

// The file is read in pieces of this size (one less, for the closing zero),
// so a longer line counts as several lines.
constexpr int LineBufferSize = 1024;

class OpenFile {
public:
    explicit OpenFile(const char* path) : file_(std::fopen(path, "rb"))
    {
        // The whole file is read on every lookup: fewer, larger reads.
        if (file_)
            std::setvbuf(file_, nullptr, _IOFBF, 64 * 1024);
    }
    ~OpenFile()
    {
        if (file_)
            std::fclose(file_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    std::FILE* get() const { return file_; }

private:
    std::FILE* file_;
};

bool IsAscii(std::string_view text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

std::string LocalizeTextFromFile(const char* path, const std::string& english)
{
    OpenFile file(path);
    if (!file.get())
        return english;

    std::string result, line;
    // fgets ends every piece with a zero byte and the text stops at the
    // first one, so clearing the buffer once is as good as before each piece.
    char buffer[LineBufferSize] = {};
    for (;;) {
        if (!std::fgets(buffer, sizeof buffer, file.get()))
            break;
        // The piece ends at its first zero byte, like any C string.
        const std::string_view raw(buffer, std::strlen(buffer));
        // ASCII is the same in UTF-8 and in the ANSI code page; only other
        // lines need converting.
        if (IsAscii(raw))
            line.assign(raw);
        else
            line = Utf8ToAnsi(raw);

        if (line.find(english) == std::string::npos) {
            result.clear();
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            break;
        if (line.compare(0, equals, english) != 0) {
            result.clear();
            continue;
        }
        // The last two characters are the line end (CR LF).
        const std::size_t start = equals + 1;
        result = line.size() >= start + 2 ? line.substr(start, line.size() - start - 2) : std::string();
        break;
    }
    return result.empty() ? english : result;
}

std::string LocalizeText(const std::string& english)
{
    if (CurrentDevice.TranslationOn != 1)
        return english;
    return LocalizeTextFromFile("language", english);
}
