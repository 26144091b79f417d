// Time from pressing "Management" in the login window to the Status page
// filled, against the fake appliance on loopback, as a ratio to the floor the
// login itself sets in the same run: its fixed pauses (20 ms before the login
// fetch, 50 ms before the window opens, 20 ms before the status read) plus two
// plain fetches of the status page (the login's and the Status page's).
//
// Run it in a private namespace: tools/lab/isolated build/bench/bench_management_open
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "WindowBench.h"
#include "app/CurrentDevice.h"
#include "app/Notifier.h"
#include "device/PageFetch.h"
#include "platform/Clock.h"
#include "ui/Application/Forms.h"
#include "ui/Logindisk/LoginLogic.h"
#include "ui/Logindisk/TForm4.h"
#include "ui/Menuform/TForm2.h"

namespace {

constexpr int Runs = 15;

} // namespace

int main(int argc, char** argv)
{
    return RunWindowBench(argc, argv, [](QApplication&) {
        CountingNotifier notifier;
        SetNotifier(&notifier);
        CurrentDevice.Address = "127.0.0.1";
        Form2 = new TForm2;
        Form4 = new TForm4;
        Form4->UserEdit->setText("admin");
        Form4->PassEdit->setText("admin");

        std::vector<double> fetches, opens;
        for (int run = 0; run < Runs; ++run) {
            auto started = MonotonicMs();
            const PageResponse page = FetchPage("127.0.0.1", "admin", "admin", LoginPagePath);
            fetches.push_back(double(MonotonicMs() - started));
            if (page.status != 200) {
                std::fprintf(stderr, "plain fetch failed: status %d\n", page.status);
                return 1;
            }

            Form2->hide();
            Form4->show();
            started = MonotonicMs();
            Form4->MenBtn->click(); // returns once the Status page has been filled
            opens.push_back(double(MonotonicMs() - started));
            if (!Form2->isVisible() || notifier.boxes != 0) {
                std::fprintf(stderr, "the management window did not open cleanly\n");
                return 1;
            }
        }

        const double fetch = Median(fetches);
        const double floor = LoginFetchPauseMs + ManagementOpenPauseMs + 20 + 2 * fetch;
        const double open = Median(opens);
        std::printf("plain status page fetch: %.1f ms (median of %d)\n", fetch, Runs);
        std::printf("floor (20 + 50 + 20 ms + 2 fetches): %.1f ms\n", floor);
        std::printf("Management pressed to Status filled: %.1f ms (median of %d)\n", open, Runs);
        std::printf("ratio: %.3f (goal <= 1.2)\n", open / floor);

        SetNotifier(nullptr);
        delete Form4;
        delete Form2;
        Form4 = nullptr;
        Form2 = nullptr;
        return 0;
    });
}
