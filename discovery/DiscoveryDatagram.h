#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

constexpr std::uint16_t DiscoveryPort = 14675;
constexpr std::size_t DiscoveryDatagramSize = 72;
inline const std::string DiscoveryBroadcastAddress = "255.255.255.255";

// What an appliance tells about itself; 8-bit texts as they arrived.
struct DiscoveryReply {
    std::string DiskName;
    std::string GroupName;
    std::string FirmwareVersion;
};

// The 72 bytes that ask every appliance to answer: type 1, then zeros.
std::string BuildDiscoveryRequest();

// The reply in a datagram, or nothing when the datagram is no reply (wrong
// length, wrong type, or no firmware version, as in a request).
std::optional<DiscoveryReply> ParseDiscoveryReply(const void* data, std::size_t length);
