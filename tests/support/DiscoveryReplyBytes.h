#pragma once

#include <string>

// A 72-byte discovery reply with its fields copied in as given (no zero added).
inline std::string Reply(const std::string& disk, const std::string& group, const std::string& firmware)
{
    std::string datagram(72, '\0');
    datagram[0] = 1;
    datagram.replace(8, disk.size(), disk);
    datagram.replace(24, group.size(), group);
    datagram.replace(40, firmware.size(), firmware);
    datagram.resize(72);
    return datagram;
}
