// Time from the move to each FTP page to the page filled, against the fake
// appliance on loopback, as a ratio to its floor measured in the same run:
// the 20 ms pause of a change of page plus one read of the status page, with
// 60 accounts and 60 folders on it. The FTP Server page is chosen as a user
// chooses its tab, coming back from the Modify FTP page; the Modify FTP page
// is entered as "Modify" enters it, which makes no pause of its own.
//
// Run it in a private namespace: tools/lab/isolated build/bench/bench_ftp_pages_show
#include <QApplication>
#include <QProcess>

#include <cstdio>
#include <string>
#include <vector>

#include "WindowBench.h"
#include "app/CurrentDevice.h"
#include "app/Notifier.h"
#include "device/StatusPage.h"
#include "platform/Clock.h"
#include "ui/Menuform/FtpServerTabLogic.h"
#include "ui/Menuform/PageControl.h"
#include "ui/Menuform/TForm2.h"

namespace {

constexpr int Runs = 15;
constexpr int Entries = 60;

QString GetState(const QString& key)
{
    QProcess control;
    control.start("curl", {"-s", "http://127.0.0.1:8080/state/" + key});
    control.waitForFinished(5000);
    return QString::fromUtf8(control.readAllStandardOutput()).trimmed();
}

} // namespace

int main(int argc, char** argv)
{
    return RunWindowBench(argc, argv, [](QApplication& application) {
        QStringList names;
        for (int n = 0; n < Entries; ++n)
            names << QString("user%1").arg(n);
        SetApplianceState("ftp_users", names.join('|'));
        names.replaceInStrings("user", "folder");
        SetApplianceState("folders", names.join('|'));
        SetApplianceState("ftp_user.user0.folders", names.mid(0, Entries / 2).join('|'));
        SetApplianceState("ftps_current", GetState("ftp_user.user0.id"));

        CountingNotifier notifier;
        TForm2* window = OpenLoggedInWindow(application, notifier);

        std::vector<double> fetches, serverShows, modifyShows;
        for (int run = 0; run < Runs; ++run) {
            auto started = MonotonicMs();
            const std::string page = FetchStatusPage(); // with its own wait before the try
            fetches.push_back(double(MonotonicMs() - started));
            if (FtpServerTabLogic::ReadFtpServerTab(page).AccountLV.size() < Entries) {
                std::fprintf(stderr, "the status page came without the accounts\n");
                return 1;
            }

            // "Modify" enters the account page; the FTP Server page is set aside behind it.
            started = MonotonicMs();
            window->EnterAccountFolderMode(); // returns once the Modify FTP page is filled
            modifyShows.push_back(double(MonotonicMs() - started));
            const bool modifyInFront = window->ActiveTabIndex() == 5;

            // The user picks the FTP Server tab again: the page comes back and is read.
            started = MonotonicMs();
            window->PageControl1->setCurrentIndex(FtpServerTabLogic::FtpServerPageNumber); // returns once filled
            serverShows.push_back(double(MonotonicMs() - started));
            if (notifier.boxes != 0 || !modifyInFront || window->PageControl1->isTabVisible(5)) {
                std::fprintf(stderr, "the pages did not fill cleanly\n");
                return 1;
            }
        }

        const double floor = PrintFloor(fetches);
        const double server = Median(serverShows);
        const double modify = Median(modifyShows);
        std::printf("FTP Server shown to filled: %.1f ms, ratio %.3f (goal <= 1.2)\n", server, server / floor);
        std::printf("Modify FTP shown to filled: %.1f ms, ratio %.3f (goal <= 1.2)\n", modify, modify / floor);

        SetNotifier(nullptr);
        delete window;
        return 0;
    });
}
