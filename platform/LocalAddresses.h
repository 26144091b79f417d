#pragma once

#include <string>
#include <vector>

struct LocalIPv4Address {
    std::string address; // dotted
    std::string mask;    // dotted
};

// Every IPv4 address of the workstation's interfaces that are up, loopback
// excepted, with its subnet mask; empty when none can be read.
std::vector<LocalIPv4Address> LocalAddresses();
