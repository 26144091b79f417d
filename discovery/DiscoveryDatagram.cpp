#include "discovery/DiscoveryDatagram.h"

#include <cstring>

namespace {

constexpr unsigned char DiscoveryType = 1;
constexpr std::size_t DiskNameOffset = 8, DiskNameWidth = 16;
constexpr std::size_t GroupNameOffset = 24, GroupNameWidth = 16;
constexpr std::size_t FirmwareOffset = 40, FirmwareWidth = 30;

// A field ends at its first zero byte, or fills its whole width.
std::string FieldText(const unsigned char* datagram, std::size_t offset, std::size_t width)
{
    const auto* start = reinterpret_cast<const char*>(datagram + offset);
    const void* zero = std::memchr(start, 0, width);
    const std::size_t length = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - start) : width;
    return std::string(start, length);
}

} // namespace

std::string BuildDiscoveryRequest()
{
    std::string request(DiscoveryDatagramSize, '\0');
    request[0] = static_cast<char>(DiscoveryType);
    return request;
}

std::optional<DiscoveryReply> ParseDiscoveryReply(const void* data, std::size_t length)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (length != DiscoveryDatagramSize || !bytes || bytes[0] != DiscoveryType || bytes[FirmwareOffset] == 0)
        return std::nullopt;
    return DiscoveryReply{FieldText(bytes, DiskNameOffset, DiskNameWidth),
                          FieldText(bytes, GroupNameOffset, GroupNameWidth),
                          FieldText(bytes, FirmwareOffset, FirmwareWidth)};
}
