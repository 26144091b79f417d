#include "discovery/SubnetCheck.h"

#include <gtest/gtest.h>

#include "app/CurrentDevice.h"
#include "support/RecordingNotifier.h"

namespace {

TEST(SameSubnet, ComparesEachNumberUnderTheMask)
{
    const struct {
        const char *device, *local, *mask;
        bool same;
    } cases[] = {
        {"192.168.1.20", "192.168.1.5", "255.255.255.0", true},
        {"192.168.2.20", "192.168.1.5", "255.255.255.0", false},
        {"192.168.7.99", "192.168.1.5", "255.255.0.0", true},
        {"192.169.1.5", "192.168.1.5", "255.255.0.0", false},
        {"10.0.0.1", "0.0.0.0", "0.0.0.0", true},
        {"192.168.1.130", "192.168.1.5", "255.255.255.128", false},
        {"192.168.1.127", "192.168.1.5", "255.255.255.128", true},
        {"192.168.1.20", "192.168.1.5", "255.255.255.255", false},
        {"192.168.1.5", "192.168.1.5", "255.255.255.255", true},
        // Parts after the fourth are never read.
        {"192.168.1.20.7", "192.168.1.5", "255.255.255.0", true},
        {"192.168.1.20.7", "192.168.1.5", "255.255.255.255", false},
        // Parts that are no numbers count as 0 and never crash.
        {"", "", "", true},
        {"192.168.1.20", "", "", true},
        {"abc", "192.168.1.5", "255.255.255.0", false},
        {"0.0.0.0", "", "255.255.255.255", true},
        // A missing part repeats the last one.
        {"192.168.1", "192.168.1.5", "255.255.255.0", true},
        {"192.168.1", "192.168.1.1", "255.255.255.255", true},
        {"192..168.1", "192.168.1.5", "255.255.255.0", false},
        {"192.168.1.20x", "192.168.1.5", "255.255.255.0", true},
        {"99999999999999999999.1.1.1", "2147483647.1.1.1", "255.255.255.0", true},
        {"-1.0.0.0", "255.0.0.0", "255.0.0.0", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SameSubnet(c.device, c.local, c.mask), c.same) << c.device << " / " << c.local << " / " << c.mask;
}

TEST(SameSubnet, AnyLocalAddressWillDo)
{
    const std::vector<LocalIPv4Address> two = {{"10.0.0.5", "255.0.0.0"}, {"192.168.1.5", "255.255.255.0"}};
    EXPECT_TRUE(SameSubnetAsAny("192.168.1.20", two));
    EXPECT_TRUE(SameSubnetAsAny("10.9.9.9", two));
    EXPECT_FALSE(SameSubnetAsAny("192.168.2.20", two));
    EXPECT_TRUE(SameSubnetAsAny("192.168.2.20", {})) << "no local address: no warning";
}

// The tests run in a namespace with loopback alone, which has no address to compare with.
TEST(CheckSubNet, WithoutALocalAddressNoWarning)
{
    ASSERT_TRUE(LocalAddresses().empty()) << "run inside tools/lab/isolated";
    EXPECT_TRUE(CheckSubNet("192.168.2.20"));
    RecordingNotifier notifier;
    WarnIfOtherSubnet("192.168.2.20");
    EXPECT_TRUE(notifier.boxes.empty());
}

} // namespace
