#include "app/LocalizeText.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <memory>

#include "app/CurrentDevice.h"
#include "platform/CodePage.h"

namespace {

// Lines are taken in pieces of at most this many bytes, as fgets gives them
// with a buffer of 1024 bytes; a longer line counts as several lines.
constexpr std::size_t MaxPiece = 1023;

class OpenFile {
public:
    explicit OpenFile(const char* path) : file_(std::fopen(path, "rb")) {}
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

// Hands out the pieces fgets would: the bytes up to and including the next
// LF, at most MaxPiece of them. The whole file is read on every lookup, so
// it is read in large blocks and a piece is copied only when it spans two.
class PieceReader {
public:
    explicit PieceReader(std::FILE* file) : file_(file), block_(new char[BlockSize]) {}

    // False at the end of the file (or when it cannot be read).
    bool next(std::string_view& piece)
    {
        spanning_.clear();
        while (spanning_.size() < MaxPiece) {
            if (begin_ == end_ && !refill())
                break;
            const char* start = block_.get() + begin_;
            const std::size_t room = std::min(end_ - begin_, MaxPiece - spanning_.size());
            const void* lineEnd = std::memchr(start, '\n', room);
            const std::size_t take = lineEnd ? static_cast<const char*>(lineEnd) - start + 1 : room;
            begin_ += take;
            if (spanning_.empty() && (lineEnd || take == MaxPiece)) {
                piece = std::string_view(start, take);
                return true;
            }
            spanning_.append(start, take);
            if (lineEnd)
                break;
        }
        piece = spanning_;
        return !spanning_.empty();
    }

private:
    bool refill()
    {
        begin_ = 0;
        end_ = std::fread(block_.get(), 1, BlockSize, file_);
        return end_ != 0;
    }

    static constexpr std::size_t BlockSize = 64 * 1024;
    std::FILE* file_;
    std::unique_ptr<char[]> block_; // not cleared: only what fread filled is read
    std::size_t begin_ = 0, end_ = 0;
    std::string spanning_;
};

bool IsAscii(std::string_view text)
{
    unsigned char any = 0;
    for (const char c : text)
        any |= static_cast<unsigned char>(c);
    return any < 0x80;
}

} // namespace

std::string LocalizeTextFromFile(const char* path, const std::string& english)
{
    OpenFile file(path);
    if (!file.get())
        return english;

    PieceReader reader(file.get());
    std::string result, line;
    std::string_view piece;
    while (reader.next(piece)) {
        // The text of a piece ends at its first zero byte, like a C string.
        if (const void* zero = std::memchr(piece.data(), '\0', piece.size()))
            piece = piece.substr(0, static_cast<const char*>(zero) - piece.data());
        // ASCII is the same in UTF-8 and in the ANSI code page.
        if (IsAscii(piece))
            line.assign(piece);
        else
            line = Utf8ToAnsi(piece);

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
