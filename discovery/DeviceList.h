#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "discovery/DiscoveryDatagram.h"

// One row of the list of found appliances, in column order.
struct DeviceListEntry {
    std::string Address; // the sender's dotted IPv4 address
    std::string DiskName;
    std::string GroupName;
    std::string FirmwareVersion;
};

// The found appliances, one row per sender address, in order of first reply.
class DeviceList {
public:
    const std::vector<DeviceListEntry>& rows() const { return rows_; }
    bool contains(const std::string& address) const { return addresses_.count(address) != 0; }
    void clear();

private:
    friend bool AddReply(DeviceList&, const std::string&, const DiscoveryReply&);
    std::vector<DeviceListEntry> rows_;
    std::unordered_set<std::string> addresses_; // keeps the one-row test fast for long lists
};

// Appends a row for the sender unless it already has one (its first reply
// stays). True when a row was appended.
bool AddReply(DeviceList& list, const std::string& senderAddress, const DiscoveryReply& reply);
