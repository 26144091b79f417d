#include "platform/UdpEndpoint.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/Clock.h"

namespace {

// Loopback only: these run in a namespace of their own.
std::optional<UdpEndpoint::Datagram> ReceiveWithin(UdpEndpoint& endpoint, int milliseconds)
{
    const auto until = MonotonicMs() + milliseconds;
    for (;;) {
        if (auto datagram = endpoint.receive())
            return datagram;
        if (MonotonicMs() > until)
            return std::nullopt;
        SleepMs(1);
    }
}

TEST(UdpEndpoint, SecondBindOfThePortFailsWithAReason)
{
    UdpEndpoint first(14675);
    try {
        UdpEndpoint second(14675);
        FAIL() << "the port was bound twice";
    } catch (const PortTakenError& error) {
        EXPECT_NE(std::string(error.what()).find("14675"), std::string::npos) << error.what();
    }
    EXPECT_THROW(UdpEndpoint(14675, "127.0.0.1"), PortTakenError) << "one address of the held port";
}

TEST(UdpEndpoint, SendsFromItsPortAndReportsTheSender)
{
    UdpEndpoint window(14675);
    UdpEndpoint peer(14700, "127.0.0.1");
    EXPECT_FALSE(window.receive()) << "nothing waiting";

    const std::string bytes("\x01\0\0hello", 8);
    ASSERT_TRUE(window.sendTo("127.0.0.1", 14700, bytes.data(), bytes.size()));
    auto atPeer = ReceiveWithin(peer, 2000);
    ASSERT_TRUE(atPeer);
    EXPECT_EQ(atPeer->bytes, bytes);
    EXPECT_EQ(atPeer->senderAddress, "127.0.0.1");
    EXPECT_EQ(atPeer->senderPort, 14675);

    ASSERT_TRUE(peer.sendTo("127.0.0.1", 14675, "ab", 2));
    ASSERT_TRUE(peer.sendTo("127.0.0.1", 14675, "cde", 3));
    auto first = ReceiveWithin(window, 2000);
    auto second = ReceiveWithin(window, 2000);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->bytes, "ab");
    EXPECT_EQ(second->bytes, "cde");
    EXPECT_EQ(second->senderPort, 14700);
}

TEST(UdpEndpoint, LongDatagramsArriveCut)
{
    UdpEndpoint window(14675);
    UdpEndpoint peer(14700, "127.0.0.1");
    const std::string big(20000, 'z');
    ASSERT_TRUE(peer.sendTo("127.0.0.1", 14675, big.data(), big.size()));
    auto got = ReceiveWithin(window, 2000);
    ASSERT_TRUE(got);
    EXPECT_EQ(got->bytes.size(), UdpEndpoint::MaxDatagramSize);
}

TEST(UdpEndpoint, RefusesWhatIsNoAddress)
{
    UdpEndpoint window(14675);
    EXPECT_FALSE(window.sendTo("not-an-address", 14700, "x", 1));
    EXPECT_THROW(UdpEndpoint(14677, "300.1.1.1"), std::runtime_error);
}

} // namespace
