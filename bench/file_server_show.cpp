// Time from the user's move to the File Server page to its two lists filled,
// against the fake appliance on loopback, as a ratio to its floor measured in
// the same run: the 20 ms pause after a change of page plus one read of the
// status page as the page makes it, with 200 folders of which 100 are shared.
//
// Run it in a private namespace: tools/lab/isolated build/bench/bench_file_server_show
#include <QApplication>
#include <QListWidget>
#include <QProcess>

#include <cstdio>
#include <string>
#include <vector>

#include "WindowBench.h"
#include "app/CurrentDevice.h"
#include "app/Notifier.h"
#include "device/StatusPage.h"
#include "platform/Clock.h"
#include "ui/Menuform/FileServerTabLogic.h"
#include "ui/Menuform/PageControl.h"
#include "ui/Menuform/TForm2.h"

namespace {

constexpr int Runs = 15;
constexpr int Folders = 200;

} // namespace

int main(int argc, char** argv)
{
    return RunWindowBench(argc, argv, [](QApplication& application) {
        QStringList folders, shared;
        for (int n = 0; n < Folders; ++n) {
            folders << QString("folder_%1").arg(n, 3, 10, QChar('0'));
            if (n % 2 == 0)
                shared << folders.last();
        }
        if (!SetApplianceState("folders", folders.join('|'))
            || !SetApplianceState("shared_folders", shared.join('|'))) {
            std::fprintf(stderr, "the fake appliance took no folders\n");
            return 1;
        }

        CountingNotifier notifier;
        TForm2* window = OpenLoggedInWindow(application, notifier);
        const auto* folderList = window->findChild<QListWidget*>("SMBFolderLB");
        const auto* sharingList = window->findChild<QListWidget*>("SMBPublicFolderLB");

        const int result = BenchPageShown(
            application, *window, notifier, "File Server", FileServerTabLogic::FileServerPageNumber, Runs,
            [](const std::string& page) {
                return FileServerTabLogic::ReadFileServerTab(page).SMBFolderLB.size() == Folders;
            },
            [&] { return folderList->count() == Folders && sharingList->count() == Folders / 2; });
        SetNotifier(nullptr);
        delete window;
        return result;
    });
}
