// 1,000 appliances answering at once: replies from 1,000 distinct loopback
// addresses sent in one burst to the discovery window, timed until all are
// listed; against the same burst read from a plain socket.
//
//   tools/lab/isolated build/bench/bench_reply_burst
#include <QApplication>
#include <QTreeWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "discovery/DiscoveryDatagram.h"
#include "platform/LocalAddresses.h"
#include "platform/UdpEndpoint.h"
#include "ui/Application/Application.h"
#include "ui/Mainform/TForm1.h"

namespace {

constexpr int Appliances = 1000;
constexpr int Rounds = 5;
constexpr std::uint16_t BaselinePort = 14690;

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

std::string Reply(int i)
{
    std::string datagram(DiscoveryDatagramSize, '\0');
    datagram[0] = 1;
    const std::string disk = "NAS-" + std::to_string(i), firmware = "2.4." + std::to_string(i % 30);
    datagram.replace(8, disk.size(), disk);
    datagram.replace(24, 9, "WORKGROUP");
    datagram.replace(40, firmware.size(), firmware);
    datagram.resize(DiscoveryDatagramSize);
    return datagram;
}

struct Appliance {
    std::unique_ptr<UdpEndpoint> socket;
    std::string reply;
};

void SendBurst(std::vector<Appliance>& appliances, std::uint16_t port)
{
    for (Appliance& a : appliances)
        a.socket->sendTo("127.0.0.1", port, a.reply.data(), a.reply.size());
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (!LocalAddresses().empty()) {
        std::fprintf(stderr, "run inside tools/lab/isolated: this sends to the discovery port\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Application application(argc, argv);
    TForm1 window;
    window.show();

    std::vector<Appliance> appliances;
    for (int i = 0; i < Appliances; ++i) {
        const std::string address = "127.1." + std::to_string(i / 250) + "." + std::to_string(i % 250 + 1);
        appliances.push_back({std::make_unique<UdpEndpoint>(0, address), Reply(i)});
    }
    UdpEndpoint baseline(BaselinePort, "127.0.0.1");

    std::vector<double> windowMs, baselineMs;
    for (int round = 0; round < Rounds; ++round) {
        const auto start = Clock::now();
        SendBurst(appliances, BaselinePort);
        int received = 0;
        while (received < Appliances && Clock::now() - start < std::chrono::seconds(10))
            received += baseline.receive() ? 1 : 0;
        baselineMs.push_back(Milliseconds(Clock::now() - start));

        window.ScanBtnClick(); // empties the list; the broadcast has nowhere to go here
        const auto listStart = Clock::now();
        SendBurst(appliances, DiscoveryPort);
        while (window.HDListView->topLevelItemCount() < Appliances
               && Clock::now() - listStart < std::chrono::seconds(10))
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        windowMs.push_back(Milliseconds(Clock::now() - listStart));
        if (window.HDListView->topLevelItemCount() != Appliances || received != Appliances) {
            std::fprintf(stderr, "round %d: %d of %d listed, %d received by the baseline\n", round,
                         window.HDListView->topLevelItemCount(), Appliances, received);
            return 1;
        }
    }
    const double w = Median(windowMs), b = Median(baselineMs);
    std::printf("%d replies in one burst, median of %d rounds\n", Appliances, Rounds);
    std::printf("  read from a plain socket  %7.1f ms\n", b);
    std::printf("  listed by the window      %7.1f ms   (goal < 500 ms)\n", w);
    std::printf("  ratio                     %7.2f\n", w / b);
    return 0;
}
