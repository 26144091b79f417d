// A datagram on the discovery port, from anyone: the reply filter and the
// field extraction must hold for any bytes, and the list must keep one row
// per sender.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "discovery/DeviceList.h"
#include "discovery/DiscoveryDatagram.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto reply = ParseDiscoveryReply(data, size);
    const bool isReply = size == 72 && data[0] == 1 && data[40] != 0;
    if (reply.has_value() != isReply)
        std::abort();
    if (!reply)
        return 0;
    const auto fieldOk = [&](const std::string& text, std::size_t offset, std::size_t width) {
        return text.size() <= width && std::memcmp(text.data(), data + offset, text.size()) == 0 &&
               text.find('\0') == std::string::npos && (text.size() == width || data[offset + text.size()] == 0);
    };
    if (!fieldOk(reply->DiskName, 8, 16) || !fieldOk(reply->GroupName, 24, 16) ||
        !fieldOk(reply->FirmwareVersion, 40, 30) || reply->FirmwareVersion.empty())
        std::abort();

    // The first reply of a sender stays.
    DeviceList list;
    const std::string sender(reinterpret_cast<const char*>(data) + 1, 7);
    AddReply(list, sender, *reply);
    AddReply(list, sender, {"other", "other", "other"});
    if (list.rows().size() != 1 || list.rows()[0].DiskName != reply->DiskName)
        std::abort();
    return 0;
}
