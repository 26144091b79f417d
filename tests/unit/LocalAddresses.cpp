#include "platform/LocalAddresses.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using AddressList = std::vector<std::pair<std::string, std::string>>;

// The addresses the caller gave this private namespace, "address/mask,..."
// in Q70_LOCAL_ADDRESSES; without it there is loopback alone, which is never listed.
AddressList Expected()
{
    AddressList expected;
    const char* given = std::getenv("Q70_LOCAL_ADDRESSES");
    std::istringstream items(given ? given : "");
    for (std::string item; std::getline(items, item, ',');) {
        const std::size_t slash = item.find('/');
        expected.emplace_back(item.substr(0, slash), item.substr(slash + 1));
    }
    std::sort(expected.begin(), expected.end());
    return expected;
}

TEST(LocalAddresses, ListsEveryAddressWithItsMaskAndNoLoopback)
{
    AddressList found;
    for (const LocalIPv4Address& entry : LocalAddresses())
        found.emplace_back(entry.address, entry.mask);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, Expected());
}

} // namespace
