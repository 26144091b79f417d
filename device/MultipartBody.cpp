#include "device/MultipartBody.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "device/Base64.h"
#include "device/HttpText.h"
#include "platform/TcpSocket.h"

namespace {

constexpr std::size_t ReceiveChunk = 4096;
constexpr std::size_t ClosingRoom = 256; // "\r\n--\r\n" and a boundary line after a file

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

UploadOutcome SocketFailure(const SocketError& error)
{
    return {false, "Socket Error # " + std::to_string(error.code) + "\r\n" + error.text};
}

} // namespace

std::string MultipartBoundary(const LocalDateTime& time)
{
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d%02d%02d%02d%03d", time.year, time.month, time.day, time.hour,
                  time.minute, time.second, time.millisecond);
    return std::string(25, '-') + stamp;
}

THttpDataStream::THttpDataStream() : boundary(MultipartBoundary(LocalNow())) { }

void THttpDataStream::Write(std::string_view piece)
{
    if (position + piece.size() > bytes.size())
        bytes.resize(position + piece.size());
    bytes.replace(position, piece.size(), piece);
    position += piece.size();
}

void THttpDataStream::AddFormField(const std::string& name, const std::string& value)
{
    Write(boundary + "\r\n" + "Content-Disposition: form-data; name=\"" + name + "\"\r\n" + "\r\n" + value + "\r\n");
}

void THttpDataStream::AddFileContent(const std::string& fieldName, const std::string& fileName,
                                     const std::string& contentType, std::istream& source)
{
    Write(boundary + "\r\n" + "Content-Disposition: form-data; name=\"" + fieldName + "\"; filename=\"" + fileName
          + "\"\r\n" + "Content-Type: " + contentType + "\r\n" + "\r\n");
    // A firmware image is megabytes: read straight into its place in the
    // body, without a copy through a buffer.
    source.clear();
    source.seekg(0, std::ios::end);
    const std::streamoff size = source.tellg();
    source.clear();
    source.seekg(0);
    if (size > 0 && position == bytes.size()) {
        // Room for the part's end and the closing boundary too: growing
        // later would copy the whole image once more.
        bytes.reserve(position + static_cast<std::size_t>(size) + ClosingRoom);
        bytes.resize(position + static_cast<std::size_t>(size));
        source.read(bytes.data() + position, size);
        position += static_cast<std::size_t>(std::max<std::streamsize>(source.gcount(), 0));
        bytes.resize(position); // a file that shrank meanwhile
    }
    char block[65536];
    // What is left (a file that grew, a source without a size); a read
    // error ends the copy and the part is closed after what was read.
    while (source) {
        source.read(block, sizeof block);
        if (source.gcount() <= 0)
            break;
        Write(std::string_view(block, static_cast<std::size_t>(source.gcount())));
    }
    Write("\r\n");
}

void THttpDataStream::AddFile(const std::string& fieldName, const std::string& filePath, const std::string& contentType)
{
    std::ifstream file(filePath, std::ios::binary);
    if (!file)
        throw std::runtime_error("Cannot open file \"" + filePath + "\". " + std::strerror(errno));
    AddFileContent(fieldName, filePath, contentType, file);
}

void THttpDataStream::FinishBody()
{
    Write("--\r\n" + boundary + "\r\n");
    position = 0;
}

std::string THttpDataStream::GetContentType() const { return "multipart/form-data; boundary=" + boundary; }

PostAnswer ParsePostAnswer(const std::string& received)
{
    PostAnswer answer;
    const std::size_t end = received.find('\n');
    if (end == std::string::npos)
        return answer;
    answer.statusLine = received.substr(0, end);
    if (!answer.statusLine.empty() && answer.statusLine.back() == '\r')
        answer.statusLine.pop_back();

    const std::size_t first = answer.statusLine.find(' ');
    if (first != std::string::npos) {
        const std::size_t second = answer.statusLine.find(' ', first + 1);
        const std::string field
            = answer.statusLine.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
        if (!field.empty() && field.size() <= 9 && field.find_first_not_of("0123456789") == std::string::npos)
            answer.status = std::stoi(field);
    }

    std::size_t start = end + 1;
    while (start < received.size()) {
        const std::size_t lineEnd = received.find('\n', start);
        std::string line = received.substr(start, lineEnd == std::string::npos ? std::string::npos : lineEnd - start);
        start = lineEnd == std::string::npos ? received.size() : lineEnd + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            break;
        const std::size_t colon = line.find(':');
        if (colon != std::string::npos) {
            std::string name = line.substr(0, colon);
            while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
                name.pop_back();
            if (Lower(name) == "location")
                answer.hasLocation = true;
        }
    }
    return answer;
}

UploadOutcome ClassifyPostAnswer(const PostAnswer& answer)
{
    if (!answer.status)
        return {false, answer.statusLine};
    const int status = *answer.status;
    if ((status >= 300 && status <= 399 && status != 304) || answer.hasLocation)
        return {false, answer.statusLine};
    if (status < 200 || status > 299)
        return {false, answer.statusLine};
    return {true, answer.statusLine};
}

std::string BuildPostHeader(const std::string& path, const std::string& hostText, const std::string& referer,
                            const std::string& contentType, std::size_t contentLength, const std::string& user,
                            const std::string& password)
{
    std::string header = "POST " + SafeRequestTarget(path) + " HTTP/1.0\r\n";
    header += "Host: " + hostText + "\r\n";
    header += "Accept: text/html, */*\r\n";
    header += "Referer: " + referer + "\r\n";
    header += "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n";
    header += "Content-Type: " + contentType + "\r\n";
    if (contentLength > 0)
        header += "Content-Length: " + std::to_string(contentLength) + "\r\n";
    if (!user.empty())
        header += "Authorization: Basic " + Base64Encode(user + ":" + password) + "\r\n";
    header += "\r\n";
    return header;
}

UploadOutcome PostUploadBody(const std::string& url, const THttpDataStream& body, const std::string& user,
                             const std::string& password, const std::string& referer, const UploadTimeouts& timeouts)
{
    const auto parts = SplitHttpUrl(url);
    if (!parts)
        return {false, "Invalid URL: " + url};
    TcpSocket socket;
    if (!socket.Connect(parts->host, parts->port, timeouts.connectMs))
        return SocketFailure(socket.LastError());
    const std::string header = BuildPostHeader(parts->path, parts->hostText, referer, body.GetContentType(),
                                               body.Bytes().size(), user, password);
    if (!socket.SendAll(header, timeouts.idleMs) || !socket.SendAll(body.Bytes(), timeouts.idleMs))
        return SocketFailure(socket.LastError());
    std::string received;
    char chunk[ReceiveChunk];
    for (;;) {
        const std::ptrdiff_t got = socket.Receive(chunk, sizeof chunk, timeouts.idleMs);
        if (got < 0) {
            // An answer whose head came complete is taken even if its sender
            // then falls silent without closing.
            const bool headComplete
                = received.find("\r\n\r\n") != std::string::npos || received.find("\n\n") != std::string::npos;
            if (socket.LastError().code == SocketErrorCode::TimedOut && headComplete)
                break;
            // Reset before a single byte of answer: the appliance threw the
            // upload away after taking it, which is the same verdict as
            // dropping it while it came in.
            if (socket.LastError().code == SocketErrorCode::ConnectionReset && received.empty())
                return SocketFailure(
                    {SocketErrorCode::ConnectionAborted, SocketErrorText(SocketErrorCode::ConnectionAborted)});
            return SocketFailure(socket.LastError());
        }
        if (got == 0)
            break;
        received.append(chunk, static_cast<std::size_t>(got));
        if (received.size() >= MaximumAnswerBytes)
            break;
    }
    socket.Close();
    const PostAnswer answer = ParsePostAnswer(received);
    if (answer.statusLine.empty() && received.find('\n') == std::string::npos)
        return {false, received.empty() ? "Connection closed without an answer" : received};
    return ClassifyPostAnswer(answer);
}
