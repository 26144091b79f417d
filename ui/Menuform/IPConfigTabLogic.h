#pragma once

#include <functional>
#include <string>

#include "app/Notice.h"
#include "device/Command.h"

namespace IPConfigTabLogic {

// The IP Config page's number: the sender refreshes it after an address command.
constexpr int IPConfigPageNumber = 1;
// An appliance that never names its address would keep the refresh reading
// forever; after this many further reads the fields stay as the last read left them.
constexpr int MostRefreshRepeats = 8;

// What the page shows after a refresh: the choice and the five edits, filled whichever is checked.
struct IPConfigValues {
    bool automatic = false; // AutoIPRB checked, else StaticIPRB
    std::string IPAddressEdit, SubMaskEdit, GatewayEdit, PrimaryDnsEdit, SecondDnsEdit;

    bool operator==(const IPConfigValues&) const = default;
};

IPConfigValues ReadIPConfig(const std::string& page);

// Reads the status page through fetchPage until it names an address, at most
// 1 + MostRefreshRepeats times; the values of the last read.
IPConfigValues RefreshIPConfig(const std::function<std::string()>& fetchPage);

// The controls the "Set" button reads.
struct IPConfigControls {
    bool AutoIPRB = false;
    std::string IPAddressEdit, SubMaskEdit, GatewayEdit, PrimaryDnsEdit, SecondDnsEdit;
};

// The address command for the appliance at address, sent with retries and no page refresh.
Command IPinforBtnClick(const IPConfigControls& controls, const std::string& address);

// The management window's caption for the address in use.
std::string ManagementCaption(const std::string& address);

// Told when the address in use lies in no local subnet.
Notice SubnetDifferNotice();

} // namespace IPConfigTabLogic
