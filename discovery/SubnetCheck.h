#pragma once

#include <string>
#include <vector>

#include "platform/LocalAddresses.h"

// True when the device address and the local address agree, number by
// number, under the local mask. Texts are dotted; a part that is no number
// counts as 0 (as do its trailing non-digits), so any text is safe.
bool SameSubnet(const std::string& deviceAddress, const std::string& localAddress, const std::string& localMask);

// True when any of the local addresses shares the device's subnet, or when
// there is no local address to compare with.
bool SameSubnetAsAny(const std::string& deviceAddress, const std::vector<LocalIPv4Address>& localAddresses);

// The same, against the workstation's own addresses.
bool CheckSubNet(const std::string& deviceAddress);

// Warns, without stopping anything, when the device is outside the workstation's subnet.
void WarnIfOtherSubnet(const std::string& deviceAddress);
