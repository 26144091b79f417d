#pragma once

#include <istream>
#include <string>
#include <vector>

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
    const std::string& Bytes() const { return bytes; }
    std::size_t Position() const { return position; }

private:
    std::string boundary;
    std::string bytes;
    std::size_t position = 0;
};

struct UploadOutcome {
    bool success = false;
    std::string message; // the status line, or "Socket Error # %d\r\n%s"
};

// HTTP/1.0 POST of the whole body; never shows anything.
UploadOutcome PostUploadBody(const std::string& url, const THttpDataStream& body, const std::string& user,
                             const std::string& password, const std::string& referer);
