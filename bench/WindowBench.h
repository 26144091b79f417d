#pragma once

// What the benchmarks of the program's windows share: the loopback-only
// check, the median, a notifier that only counts boxes, the fake appliance
// started on 127.0.0.1 and its state set, and the management window logged
// in to it.

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <fstream>
#include <string>
#include <vector>

#include "app/CurrentDevice.h"
#include "app/Notifier.h"
#include "device/StatusPage.h"
#include "platform/Clock.h"
#include "ui/Menuform/PageControl.h"
#include "ui/Menuform/TForm2.h"

// Only loopback may be up: the fake appliance serves on port 80.
inline bool OnlyLoopback()
{
    std::ifstream devices("/proc/net/dev");
    std::string line;
    int interfaces = 0;
    bool loopback = false;
    while (std::getline(devices, line)) {
        const auto colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        ++interfaces;
        loopback = loopback || line.substr(0, colon).find("lo") != std::string::npos;
    }
    return interfaces == 1 && loopback;
}

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

class CountingNotifier final : public Notifier {
public:
    void notice(const std::string&, const std::string&, MessageIcon) override { ++boxes; }
    bool confirm(const std::string&, const std::string&, MessageIcon) override { return ++boxes, true; }
    int boxes = 0;
};

// Starts the fake appliance on 127.0.0.1 from the source folder
// (Q70_SOURCE_DIR, else the working folder); true once it is ready.
inline bool StartLoopbackAppliance(QProcess& appliance)
{
    const QString source = qEnvironmentVariableIsSet("Q70_SOURCE_DIR") ? qEnvironmentVariable("Q70_SOURCE_DIR") : ".";
    appliance.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QString python = QFile::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
    appliance.start(python,
                    {source + "/tools/appliance-sim/appliance_sim.py", "--address", "127.0.0.1", "--no-discovery"});
    return appliance.waitForReadyRead(10000) && appliance.readLine().startsWith("READY");
}

// Runs a window benchmark: only inside a private namespace, offscreen unless
// told otherwise, with the fake appliance up on 127.0.0.1 for its whole run.
inline int RunWindowBench(int argc, char** argv, const std::function<int(QApplication&)>& body)
{
    if (!OnlyLoopback()) {
        std::fprintf(stderr, "run me inside tools/lab/isolated\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    QProcess appliance;
    if (!StartLoopbackAppliance(appliance)) {
        std::fprintf(stderr, "the fake appliance did not start\n");
        return 2;
    }
    const int result = body(application);
    appliance.terminate();
    appliance.waitForFinished(3000);
    return result;
}

// Sets one value of the fake appliance's state through its control port.
inline bool SetApplianceState(const QString& key, const QString& value)
{
    QProcess control;
    control.start("curl",
                  {"-s", "-f", "-o", "/dev/null", "--data-binary", value, "http://127.0.0.1:8080/state/" + key});
    return control.waitForFinished(5000) && control.exitCode() == 0;
}

// The management window for the appliance on 127.0.0.1, logged in as its
// administrator and shown; boxes go to `notifier`.
inline TForm2* OpenLoggedInWindow(QApplication& application, CountingNotifier& notifier)
{
    SetNotifier(&notifier);
    CurrentDevice.Address = "127.0.0.1";
    CurrentDevice.UserName = "admin";
    CurrentDevice.Password = "admin";
    auto* window = new TForm2;
    window->show();
    application.processEvents();
    return window;
}

// The floor of a page shown: the pause of a change of page and the median
// plain status page read; printed with the read.
inline double PrintFloor(const std::vector<double>& fetches)
{
    const double fetch = Median(fetches);
    const double floor = CurrentDevice.CommandPauseMs + fetch;
    std::printf("status page read: %.1f ms (median of %zu)\n", fetch, fetches.size());
    std::printf("floor (20 ms + 1 status page read): %.1f ms\n", floor);
    return floor;
}

// A page chosen from the Status page, as a click on its tab does, `runs`
// times: each run one plain status page read (checked by `pageCame`), then
// the change of page timed until it returns with the page filled (checked by
// `filled`, with no box shown). Prints the floor, the time and their ratio;
// 1 when a check failed.
inline int BenchPageShown(
    QApplication& application, TForm2& window, const CountingNotifier& notifier, const char* name, int pageNumber,
    int runs, const std::function<bool(const std::string&)>& pageCame,
    const std::function<bool()>& filled = [] { return true; })
{
    std::vector<double> fetches, shows;
    for (int run = 0; run < runs; ++run) {
        auto started = MonotonicMs();
        const std::string page = FetchStatusPage(); // with its own wait before the try
        fetches.push_back(double(MonotonicMs() - started));
        if (!pageCame(page)) {
            std::fprintf(stderr, "the status page came without what the page shows\n");
            return 1;
        }
        window.PageControl1->setCurrentIndex(0);
        application.processEvents();
        started = MonotonicMs();
        window.PageControl1->setCurrentIndex(pageNumber); // returns once the page is filled
        shows.push_back(double(MonotonicMs() - started));
        if (notifier.boxes != 0 || !filled()) {
            std::fprintf(stderr, "the page did not fill cleanly\n");
            return 1;
        }
    }
    const double floor = PrintFloor(fetches);
    const double show = Median(shows);
    std::printf("%s shown to filled: %.1f ms (median of %d)\n", name, show, runs);
    std::printf("ratio: %.3f (goal <= 1.2)\n", show / floor);
    return 0;
}
