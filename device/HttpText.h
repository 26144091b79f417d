#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Pieces of an "http://host[:port]/path" URL as the clients use them.
struct HttpUrl {
    std::string hostText; // between "//" and the next "/", port included
    std::string host;     // hostText without its port
    std::uint16_t port = 80;
    std::string path;     // from that "/" to the end; "/" when there is none
};

// nullopt for an empty URL, a URL without "//", an "https" URL or a bad port.
std::optional<HttpUrl> SplitHttpUrl(const std::string& url);

// The request target as written on a request line: bytes that cannot stand
// there (control bytes, space, DEL, bytes from 0x80) become %XX, so a value
// can neither end the line nor add a header; printable ASCII is unchanged.
std::string SafeRequestTarget(std::string_view path);

// The most any client keeps of one answer, so a server that never stops
// sending cannot exhaust memory.
constexpr std::size_t MaximumAnswerBytes = 16u * 1024u * 1024u;
