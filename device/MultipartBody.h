#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/LargeBuffer.h"
#include "platform/Clock.h"

// A multipart/form-data body held in memory, laid out byte for byte as the
// appliance's upload form expects (its delimiter lines differ from RFC 2046).
class THttpDataStream {
public:
    THttpDataStream(); // boundary and content type from the local clock

    void AddFormField(const std::string& name, const std::string& value);
    void AddFileContent(const std::string& fieldName, const std::string& fileName, const std::string& contentType,
                        std::istream& source);
    // Throws std::runtime_error when the file cannot be opened.
    void AddFile(const std::string& fieldName, const std::string& filePath, const std::string& contentType);
    void FinishBody();
    std::string GetContentType() const;

    const std::string& Boundary() const { return boundary; }
    std::string_view Bytes() const { return bytes; }
    std::size_t Position() const { return position; }

private:
    void Write(std::string_view piece); // at the current position, as a stream does

    std::string boundary;
    LargeBuffer bytes;
    std::size_t position = 0;
};

struct UploadOutcome {
    bool success = false;
    std::string message; // the status line, or "Socket Error # %d\r\n%s"
};

// The 42-character boundary for a local time: 25 hyphens and yyyymmddhhnnsszzz.
std::string MultipartBoundary(const LocalDateTime& time);

// What the status line and header lines of an answer to the POST said.
struct PostAnswer {
    std::string statusLine; // as received, without its line end
    std::optional<int> status; // second space-separated field, when it is a number
    bool hasLocation = false; // a "Location" header line came
};
// Parses the head of an answer; an answer without a complete status line has no status.
PostAnswer ParsePostAnswer(const std::string& received);
UploadOutcome ClassifyPostAnswer(const PostAnswer& answer);

// The request head of the POST, every line ended by CR LF, then the empty line.
std::string BuildPostHeader(const std::string& path, const std::string& hostText, const std::string& referer,
                            const std::string& contentType, std::size_t contentLength, const std::string& user,
                            const std::string& password);

// An appliance writes a firmware image into its flash before it answers, so
// the idle bound is long; both only keep a dead appliance from freezing the window.
// The bounds of the POST's waits: connecting, and each wait to send or receive.
struct UploadTimeouts {
    int connectMs = 5000;
    int idleMs = 120000;
};

// HTTP/1.0 POST of the whole body; never shows anything.
UploadOutcome PostUploadBody(const std::string& url, const THttpDataStream& body, const std::string& user,
                             const std::string& password, const std::string& referer,
                             const UploadTimeouts& timeouts = {});
