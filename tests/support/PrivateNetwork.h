#pragma once

// True when this process sees no network interface but loopback, as inside
// tools/lab/isolated. Tests that try unreachable addresses or name lookups
// check it first, so that run by hand outside a private namespace they send
// nothing off the machine.

#ifdef _WIN32
#include <winsock2.h>
#include <iphlpapi.h>

// The adapter list leaves loopback out: a private network lists nothing.
inline bool InPrivateNetwork()
{
    ULONG size = 0;
    return GetAdaptersInfo(nullptr, &size) == ERROR_NO_DATA;
}
#else
#include <net/if.h>

#include <cstring>

inline bool InPrivateNetwork()
{
    struct if_nameindex* names = if_nameindex();
    if (!names)
        return false;
    bool onlyLoopback = true;
    for (struct if_nameindex* entry = names; entry->if_index != 0; ++entry)
        if (std::strcmp(entry->if_name, "lo") != 0)
            onlyLoopback = false;
    if_freenameindex(names);
    return onlyLoopback;
}
#endif

#define REQUIRE_PRIVATE_NETWORK()                                                                                  \
    do {                                                                                                           \
        if (!InPrivateNetwork())                                                                                   \
            GTEST_SKIP() << "needs a private network namespace (tools/lab/isolated)";                              \
    } while (false)
