#include "discovery/SubnetCheck.h"

#include <cstdint>

#include "app/Notifier.h"

namespace {

// The next part of a dotted text. When no part stands before a ".", the
// whole rest is the part and the rest stays as it is (so the last part is
// what follows the last ".").
std::string TakePart(std::string& rest)
{
    const std::size_t dot = rest.find('.');
    if (dot == std::string::npos || dot == 0)
        return rest;
    std::string part = rest.substr(0, dot);
    rest.erase(0, dot + 1);
    return part;
}

// Leading decimal digits, after an optional sign; anything else counts as 0.
// Saturates rather than overflowing on absurdly long digit runs.
std::int32_t PartNumber(const std::string& part)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < part.size() && (part[i] == '-' || part[i] == '+'))
        negative = part[i++] == '-';
    std::int64_t value = 0;
    for (; i < part.size() && part[i] >= '0' && part[i] <= '9'; ++i) {
        value = value * 10 + (part[i] - '0');
        if (value > INT32_MAX) {
            value = INT32_MAX;
            break;
        }
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

} // namespace

bool SameSubnet(const std::string& deviceAddress, const std::string& localAddress, const std::string& localMask)
{
    std::string deviceRest = deviceAddress, localRest = localAddress, maskRest = localMask;
    std::string localNetwork, deviceNetwork;
    for (int pass = 0; pass < 4; ++pass) {
        const std::int32_t device = PartNumber(TakePart(deviceRest));
        const std::int32_t local = PartNumber(TakePart(localRest));
        const std::int32_t mask = PartNumber(TakePart(maskRest));
        localNetwork += std::to_string(local & mask) + ".";
        deviceNetwork += std::to_string(device & mask) + ".";
    }
    // Only digits, signs and dots: a plain comparison ignores case as well.
    return localNetwork == deviceNetwork;
}

bool SameSubnetAsAny(const std::string& deviceAddress, const std::vector<LocalIPv4Address>& localAddresses)
{
    if (localAddresses.empty())
        return true;
    for (const LocalIPv4Address& local : localAddresses) {
        if (SameSubnet(deviceAddress, local.address, local.mask))
            return true;
    }
    return false;
}

bool CheckSubNet(const std::string& deviceAddress) { return SameSubnetAsAny(deviceAddress, LocalAddresses()); }

void WarnIfOtherSubnet(const std::string& deviceAddress)
{
    if (!CheckSubNet(deviceAddress))
        NoticeLocalized("Subnet differ, Connection fail", "Search for Remote Devices", MessageIcon::Information);
}
