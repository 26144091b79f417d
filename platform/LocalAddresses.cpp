#include "platform/LocalAddresses.h"

#ifdef _WIN32
#include <winsock2.h>
#include <iphlpapi.h>

namespace {

// An adapter that is down may still list its configured address; only one
// that carries traffic tells the workstation's subnet. When its state cannot
// be read the adapter is taken, as before.
bool Operational(DWORD adapterIndex)
{
    MIB_IFROW row{};
    row.dwIndex = adapterIndex;
    if (GetIfEntry(&row) != NO_ERROR)
        return true;
    return row.dwOperStatus == MIB_IF_OPER_STATUS_OPERATIONAL || row.dwOperStatus == MIB_IF_OPER_STATUS_CONNECTED;
}

} // namespace

std::vector<LocalIPv4Address> LocalAddresses()
{
    std::vector<LocalIPv4Address> found;
    ULONG size = 16 * 1024;
    std::vector<unsigned char> buffer;
    DWORD status = ERROR_BUFFER_OVERFLOW;
    // The list may grow between the calls; a few rounds settle it.
    for (int round = 0; round < 4 && status == ERROR_BUFFER_OVERFLOW; ++round) {
        buffer.resize(size);
        status = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
    }
    if (status != ERROR_SUCCESS)
        return found;
    for (auto* adapter = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()); adapter; adapter = adapter->Next) {
        if (!Operational(adapter->Index))
            continue;
        for (IP_ADDR_STRING* entry = &adapter->IpAddressList; entry; entry = entry->Next) {
            const std::string address = entry->IpAddress.String;
            // An adapter without a connection lists 0.0.0.0.
            if (address.empty() || address == "0.0.0.0")
                continue;
            found.push_back({address, entry->IpMask.String});
        }
    }
    return found;
}

#else
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace {

std::string Dotted(const sockaddr* address)
{
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, text, sizeof text);
    return text;
}

} // namespace

std::vector<LocalIPv4Address> LocalAddresses()
{
    std::vector<LocalIPv4Address> found;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return found;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET || !entry->ifa_netmask)
            continue;
        if (!(entry->ifa_flags & IFF_UP) || (entry->ifa_flags & IFF_LOOPBACK))
            continue;
        found.push_back({Dotted(entry->ifa_addr), Dotted(entry->ifa_netmask)});
    }
    freeifaddrs(list);
    return found;
}
#endif
