#include "discovery/DeviceList.h"

void DeviceList::clear()
{
    rows_.clear();
    addresses_.clear();
}

bool AddReply(DeviceList& list, const std::string& senderAddress, const DiscoveryReply& reply)
{
    if (!list.addresses_.insert(senderAddress).second)
        return false;
    list.rows_.push_back({senderAddress, reply.DiskName, reply.GroupName, reply.FirmwareVersion});
    return true;
}
