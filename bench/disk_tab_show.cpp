// Time from the user's move to the Disk Utility page to the page filled,
// against the fake appliance on loopback, as a ratio to its floor measured in
// the same run: the 20 ms pause after a change of page plus one read of the
// status page as the page makes it (its 20 ms wait before the try and the
// fetch), with a scan report of 300 lines on it.
//
// Run it in a private namespace: tools/lab/isolated build/bench/bench_disk_tab_show
#include <QApplication>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "WindowBench.h"
#include "app/CurrentDevice.h"
#include "app/Notifier.h"
#include "device/StatusPage.h"
#include "platform/Clock.h"
#include "ui/Menuform/DiskTabLogic.h"
#include "ui/Menuform/PageControl.h"
#include "ui/Menuform/TForm2.h"

namespace {

constexpr int Runs = 15;

} // namespace

int main(int argc, char** argv)
{
    return RunWindowBench(argc, argv, [](QApplication& application) {
        QString report;
        for (int line = 0; line < 300; ++line)
            report += QString("Phase %1 - block %2 checked\n").arg(line % 5 + 1).arg(line);
        if (!SetApplianceState("disk_scan", report)) {
            std::fprintf(stderr, "the fake appliance took no scan report\n");
            return 1;
        }

        CountingNotifier notifier;
        TForm2* window = OpenLoggedInWindow(application, notifier);

        const int result
            = BenchPageShown(application, *window, notifier, "Disk Utility", DiskTabLogic::DiskPageNumber, Runs,
                             [](const std::string& page) { return DiskTabLogic::FillScanReport(page).size() >= 300; });
        SetNotifier(nullptr);
        delete window;
        return result;
    });
}
