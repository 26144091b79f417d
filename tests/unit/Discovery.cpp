#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "discovery/DeviceList.h"
#include "discovery/DiscoveryDatagram.h"
#include "discovery/SearchProgress.h"
#include "support/DiscoveryReplyBytes.h"

namespace {

TEST(DiscoveryRequest, IsTypeOneFollowedByZeros)
{
    const std::string request = BuildDiscoveryRequest();
    ASSERT_EQ(request.size(), 72u);
    EXPECT_EQ(request[0], 1);
    EXPECT_EQ(request.find_first_not_of('\0', 1), std::string::npos);
}

TEST(DiscoveryReply, FilterDropsWhatIsNoReply)
{
    std::string typeTwo = Reply("D", "G", "1.0");
    typeTwo[0] = 2;
    std::string typeZero = Reply("D", "G", "1.0");
    typeZero[0] = 0;
    const struct {
        const char* name;
        std::string datagram;
    } dropped[] = {
        {"empty", ""},
        {"71 bytes", Reply("D", "G", "1.0").substr(0, 71)},
        {"73 bytes", Reply("D", "G", "1.0") + '\0'},
        {"8192 bytes", Reply("D", "G", "1.0") + std::string(8120, 'x')},
        {"type 2", typeTwo},
        {"type 0", typeZero},
        {"empty firmware", Reply("Disk", "Group", "")},
        {"empty firmware, later bytes set", Reply("Disk", "Group", std::string("\0" "1.0", 4))},
        {"our own request", BuildDiscoveryRequest()},
    };
    for (const auto& c : dropped)
        EXPECT_FALSE(ParseDiscoveryReply(c.datagram.data(), c.datagram.size())) << c.name;
    EXPECT_FALSE(ParseDiscoveryReply(nullptr, 0));
}

TEST(DiscoveryReply, FieldsEndAtZeroOrFillTheirWidth)
{
    const std::string disk16 = "ABCDEFGHIJKLMNOP";
    const std::string group16 = "abcdefghijklmnop";
    const std::string firmware30 = "012345678901234567890123456789";
    std::string trailing = Reply("NAS", "", "1.0");
    trailing[70] = 'x'; // the two bytes after the firmware are not read
    trailing[71] = 'y';
    const struct {
        const char* name;
        std::string datagram;
        DiscoveryReply expected;
    } cases[] = {
        {"ordinary", Reply("Q70-Office", "WORKGROUP", "2.0.14"), {"Q70-Office", "WORKGROUP", "2.0.14"}},
        {"full disk name does not run into the group", Reply(disk16, "G", "1.0"), {disk16, "G", "1.0"}},
        {"full disk and group names", Reply(disk16, group16, "1.0"), {disk16, group16, "1.0"}},
        {"full firmware version", Reply("D", "G", firmware30), {"D", "G", firmware30}},
        {"empty names", Reply("", "", "1.0"), {"", "", "1.0"}},
        {"8-bit bytes as they arrive", Reply("Caf\xe9", "\xff\x80", "1"), {"Caf\xe9", "\xff\x80", "1"}},
        {"bytes after the firmware field", trailing, {"NAS", "", "1.0"}},
    };
    for (const auto& c : cases) {
        const auto reply = ParseDiscoveryReply(c.datagram.data(), c.datagram.size());
        ASSERT_TRUE(reply) << c.name;
        EXPECT_EQ(reply->DiskName, c.expected.DiskName) << c.name;
        EXPECT_EQ(reply->GroupName, c.expected.GroupName) << c.name;
        EXPECT_EQ(reply->FirmwareVersion, c.expected.FirmwareVersion) << c.name;
    }
}

TEST(DeviceList, OneRowPerSenderInOrderOfFirstReply)
{
    DeviceList list;
    EXPECT_TRUE(AddReply(list, "192.168.1.20", {"Same", "G1", "1.0"}));
    EXPECT_TRUE(AddReply(list, "192.168.1.21", {"Same", "G2", "1.1"}));
    EXPECT_FALSE(AddReply(list, "192.168.1.20", {"Changed", "G3", "9.9"}));
    EXPECT_TRUE(AddReply(list, "192.168.1.2", {"Prefix", "", "1"}));
    EXPECT_TRUE(AddReply(list, "192.168.1.200", {"Longer", "", "1"}));

    ASSERT_EQ(list.rows().size(), 4u);
    const char* addresses[] = {"192.168.1.20", "192.168.1.21", "192.168.1.2", "192.168.1.200"};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(list.rows()[i].Address, addresses[i]);
    EXPECT_EQ(list.rows()[0].DiskName, "Same");
    EXPECT_EQ(list.rows()[0].GroupName, "G1");
    EXPECT_EQ(list.rows()[0].FirmwareVersion, "1.0");

    list.clear();
    EXPECT_TRUE(list.rows().empty());
    EXPECT_FALSE(list.contains("192.168.1.20"));
    EXPECT_TRUE(AddReply(list, "192.168.1.20", {"Changed", "G3", "9.9"}));
    EXPECT_EQ(list.rows()[0].DiskName, "Changed");
}

TEST(SearchProgress, ThirteenTicksFromZeroToTheMaximum)
{
    int position = 0;
    int ticks = 0;
    bool stopped = false;
    while (!stopped && ticks < 100) {
        const ProgressStep step = ProgressTick(position, SearchProgressMaximum);
        position = step.position;
        stopped = step.stop;
        ++ticks;
        if (ticks == 1) {
            EXPECT_EQ(position, 10);
        }
        EXPECT_EQ(stopped, ticks == 13) << ticks;
    }
    EXPECT_EQ(ticks, 13);
    EXPECT_EQ(position, 130);
}

TEST(SearchProgress, StopsOnlyOneStepBelowTheMaximum)
{
    const struct {
        int position, maximum, next;
        bool stop;
    } cases[] = {{0, 130, 10, false}, {110, 130, 120, false}, {120, 130, 130, true},
                 {130, 130, 140, false}, {40, 50, 50, true}, {0, 10, 10, true}};
    for (const auto& c : cases) {
        const ProgressStep step = ProgressTick(c.position, c.maximum);
        EXPECT_EQ(step.position, c.next) << c.position << "/" << c.maximum;
        EXPECT_EQ(step.stop, c.stop) << c.position << "/" << c.maximum;
    }
}

} // namespace
