// Connecting a drive letter to the public share of a real SMB server, against
// "gio mount" of the same share from the command line in the same run. Runs
// itself in the lab (tools/lab/with-appliances.sh with tests/lab/smb-share.sh),
// where the server and a private desktop session live.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Drives.h"
#include "ui/Mountform/NetworkDriveLogic.h"

extern char** environ;

namespace {

const std::string SourceDir = [] {
    std::string file = __FILE__;
    return file.substr(0, file.rfind("/bench/"));
}();

double NowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

int Run(std::vector<std::string> args)
{
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", 0, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 1, 0);
    pid_t pid = -1;
    int status = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0)
        waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return status;
}

double Median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("SMB_PUBLIC_DIR")) {
        const std::string lab = SourceDir + "/tools/lab/with-appliances.sh";
        const std::string share = SourceDir + "/tests/lab/smb-share.sh";
        std::vector<char*> args = {
            const_cast<char*>(lab.c_str()), const_cast<char*>("--appliance"), const_cast<char*>("nas1=192.168.1.20/24"),
            const_cast<char*>("--"),        const_cast<char*>(share.c_str()), argv[0]};
        for (int i = 1; i < argc; ++i)
            args.push_back(argv[i]);
        args.push_back(nullptr);
        execv(lab.c_str(), args.data());
        std::perror("cannot run tools/lab/with-appliances.sh");
        return 1;
    }
    const int rounds = argc > 1 ? std::max(3, std::atoi(argv[1])) : 9;
    const std::string host = std::getenv("SIM_NAS1_ADDRESS");
    const std::string uri = "smb://" + host + "/public";
    const std::string link = std::string(std::getenv("HOME")) + "/Network Drives/Z";
    auto drives = MakeSystemDrives(nullptr);
    std::vector<double> connectTimes, gioTimes;
    // The first round of each warms up the session's mount daemons.
    for (int i = 0; i < rounds + 1; ++i) {
        double connect = 0, gio = 0;
        for (int turn = 0; turn < 2; ++turn) {
            const double start = NowMs();
            if ((turn == 0) == (i % 2 == 0)) {
                const int code = NetConnect(*drives, host, 'Z', false, "public", "");
                connect = NowMs() - start;
                if (code != 0) {
                    std::fprintf(stderr, "connecting failed: %s\n", ConnectMessage(code).c_str());
                    return 1;
                }
            } else {
                const int status = Run({"gio", "mount", "-a", uri});
                gio = NowMs() - start;
                if (status != 0) {
                    std::fprintf(stderr, "gio mount failed: %d\n", status);
                    return 1;
                }
            }
            Run({"gio", "mount", "-u", uri});
            unlink(link.c_str());
        }
        if (i > 0) {
            connectTimes.push_back(connect);
            gioTimes.push_back(gio);
        }
    }
    const double connectMedian = Median(connectTimes), gioMedian = Median(gioTimes);
    std::printf("share %s, %d rounds each\n", uri.c_str(), rounds);
    std::printf("NetConnect       median %.1f ms\n", connectMedian);
    std::printf("gio mount (CLI)  median %.1f ms\n", gioMedian);
    std::printf("ratio NetConnect / gio mount: %.3f (goal <= 1.5)\n", connectMedian / gioMedian);
    return 0;
}
