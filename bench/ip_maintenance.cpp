// The IP Config and Maintenance pages against the fake appliance on
// loopback, as ratios to floors measured in the same run:
//  - each page from its tab chosen to filled, against the fixed pauses it
//    goes through plus the reads it makes: for IP Config the 20 ms before the
//    status read, one plain read and the 20 ms pause of a change of tab (the
//    window paints after it); for Maintenance, which reads nothing, the pause
//    of the change of tab alone;
//  - an 8 MiB firmware upload (form built from the file, then posted),
//    against a plain socket POST of the same bytes to the same appliance.
//
// Run it in a private namespace: tools/lab/isolated build/bench/bench_ip_maintenance
#include <QApplication>
#include <QFile>
#include <QProcess>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "WindowBench.h"
#include "app/CurrentDevice.h"
#include "app/Notifier.h"
#include "device/MultipartBody.h"
#include "device/PageFetch.h"
#include "platform/Clock.h"
#include "ui/Application/Forms.h"
#include "ui/Menuform/MaintenanceTabLogic.h"
#include "ui/Menuform/PageControl.h"
#include "ui/Menuform/TForm2.h"

namespace {

constexpr int Runs = 11;
constexpr int UploadRuns = 5;
constexpr std::size_t ImageBytes = 8u << 20;

// The same request through a bare socket: head and body written, the answer read to its end.
bool PlainPost(const std::string& request)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(80);
    inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
    bool ok = connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
    for (std::size_t sent = 0; ok && sent < request.size();) {
        const ssize_t n = send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        ok = n > 0;
        sent += ok ? std::size_t(n) : 0;
    }
    std::string answer;
    char block[4096];
    for (ssize_t n; ok && (n = recv(fd, block, sizeof block, 0)) > 0;)
        answer.append(block, std::size_t(n));
    close(fd);
    return ok && answer.find(" 302 ") != std::string::npos;
}

} // namespace

int main(int argc, char** argv)
{
    if (!OnlyLoopback()) {
        std::fprintf(stderr, "run me inside tools/lab/isolated\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    const QString source = qEnvironmentVariableIsSet("Q70_SOURCE_DIR") ? qEnvironmentVariable("Q70_SOURCE_DIR") : ".";

    QProcess appliance;
    appliance.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QString python = QFile::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
    appliance.start(python,
                    {source + "/tools/appliance-sim/appliance_sim.py", "--address", "127.0.0.1", "--no-discovery",
                     "--upload-limit", QString::number(2 * ImageBytes)});
    if (!appliance.waitForReadyRead(10000) || !appliance.readLine().startsWith("READY")) {
        std::fprintf(stderr, "the fake appliance did not start\n");
        return 2;
    }

    CountingNotifier notifier;
    SetNotifier(&notifier);
    CurrentDevice.Address = "127.0.0.1";
    CurrentDevice.UserName = "admin";
    CurrentDevice.Password = "admin";
    Form2 = new TForm2;
    Form2->show();

    // Each page chosen from the Status page, as a click on its tab does.
    std::vector<double> fetches, shown[2];
    for (int run = 0; run < Runs; ++run) {
        auto started = MonotonicMs();
        const PageResponse page = FetchPage("127.0.0.1", "admin", "admin", "/utility_use.htm");
        fetches.push_back(double(MonotonicMs() - started));
        if (page.status != 200) {
            std::fprintf(stderr, "plain fetch failed: status %d\n", page.status);
            return 1;
        }
        for (int which = 0; which < 2; ++which) {
            Form2->SelectPage(0);
            started = MonotonicMs();
            Form2->PageControl1->setCurrentIndex(1 + which);
            shown[which].push_back(double(MonotonicMs() - started));
        }
    }
    if (notifier.boxes != 0) {
        std::fprintf(stderr, "a box came while the pages were shown\n");
        return 1;
    }

    // The firmware image.
    const std::string image = "/tmp/bench_ip_maintenance_image.bin";
    {
        std::ofstream file(image, std::ios::binary);
        std::string content(ImageBytes, '\xa5');
        file << content;
    }
    // The first runs after the file is written wait on the system writing it
    // out; a firmware file chosen in the dialog is a file at rest.
    std::vector<double> uploads, plains, builds;
    for (int run = -2; run < UploadRuns; ++run) {
        SleepMs(300); // the appliance done with the last upload
        auto started = MonotonicMs();
        const THttpDataStream body = MaintenanceTabLogic::BuildFirmwareUpload(image);
        if (run >= 0)
            builds.push_back(double(MonotonicMs() - started));
        const UploadOutcome outcome = PostUploadBody(MaintenanceTabLogic::UploadUrl("127.0.0.1"), body, "admin",
                                                     "admin", MaintenanceTabLogic::UploadReferer("127.0.0.1"));
        if (run >= 0)
            uploads.push_back(double(MonotonicMs() - started));
        if (MaintenanceTabLogic::ClassifyUploadOutcome(outcome) != MaintenanceTabLogic::UploadVerdict::Succeeded) {
            std::fprintf(stderr, "upload not accepted: %s\n", outcome.message.c_str());
            return 1;
        }
        const std::string request
            = BuildPostHeader("/man.cgi", "127.0.0.1", MaintenanceTabLogic::UploadReferer("127.0.0.1"),
                              body.GetContentType(), body.Bytes().size(), "admin", "admin")
            + std::string(body.Bytes());
        SleepMs(300);
        started = MonotonicMs();
        if (!PlainPost(request)) {
            std::fprintf(stderr, "plain POST not accepted\n");
            return 1;
        }
        if (run >= 0)
            plains.push_back(double(MonotonicMs() - started));
    }
    std::remove(image.c_str());

    const double fetch = Median(fetches);
    const double floors[2] = {20 + fetch + 20, 20};
    const char* names[2] = {"IP Config (floor 20 + read + 20 ms)", "Maintenance (floor 20 ms)"};
    std::printf("plain status page read: %.1f ms (median of %d)\n", fetch, Runs);
    for (int which = 0; which < 2; ++which)
        std::printf("%s chosen to filled: %.1f ms, floor %.1f ms, ratio %.3f (goal <= 1.2)\n", names[which],
                    Median(shown[which]), floors[which], Median(shown[which]) / floors[which]);
    const double upload = Median(uploads), plain = Median(plains);
    std::printf("8 MiB upload: %.1f ms, plain socket POST: %.1f ms (medians of %d)\n", upload, plain, UploadRuns);
    std::printf("of which the form built from the file: %.1f ms\n", Median(builds));
    std::printf("upload ratio: %.3f (goal <= 1.2)\n", upload / plain);

    SetNotifier(nullptr);
    delete Form2;
    Form2 = nullptr;
    appliance.terminate();
    appliance.waitForFinished(3000);
    return 0;
}
