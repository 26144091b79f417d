// The page fetch of a 64 KiB status page from the fake appliance on loopback,
// against reading the same answer with a plain socket in the same run.
// Runs itself inside a private network namespace (tools/lab/isolated), where
// the fake appliance may serve on 127.0.0.1:80.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "device/Base64.h"
#include "device/PageFetch.h"
#include "tests/support/SimControl.h"

extern char** environ;

namespace {

const std::string SourceDir = [] {
    std::string file = __FILE__;
    return file.substr(0, file.rfind("/bench/"));
}();
const std::string Path = "/utility_use.htm";

double NowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// The same request bytes, read with one plain blocking socket and a large buffer.
std::size_t PlainFetch(const std::string& request)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(80);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return 0;
    }
    ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    std::string text;
    static char buffer[1 << 16];
    ssize_t got;
    while ((got = ::recv(fd, buffer, sizeof buffer, 0)) > 0)
        text.append(buffer, static_cast<std::size_t>(got));
    ::close(fd);
    return text.size();
}

double Median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

pid_t StartAppliance()
{
    int out[2];
    if (pipe(out) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const std::string script = SourceDir + "/tools/appliance-sim/appliance_sim.py";
    std::vector<std::string> args = {"/usr/bin/python3", script, "--address", "127.0.0.1", "--no-discovery"};
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string line;
    char c;
    while (pid > 0 && read(out[0], &c, 1) == 1 && line.find("READY") == std::string::npos)
        line += c;
    close(out[0]);
    if (line.find("READY") == std::string::npos && pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        return -1;
    }
    return pid;
}

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("Q70_BENCH_ISOLATED")) {
        setenv("Q70_BENCH_ISOLATED", "1", 1);
        const std::string isolated = SourceDir + "/tools/lab/isolated";
        std::vector<char*> args = {const_cast<char*>(isolated.c_str()), argv[0]};
        for (int i = 1; i < argc; ++i)
            args.push_back(argv[i]);
        args.push_back(nullptr);
        execv(isolated.c_str(), args.data());
        std::perror("cannot run tools/lab/isolated");
        return 1;
    }
    const int rounds = argc > 1 ? std::max(5, std::atoi(argv[1])) : 200;
    const pid_t appliance = StartAppliance();
    if (appliance <= 0) {
        std::fprintf(stderr, "the fake appliance did not start\n");
        return 1;
    }
    SimControl sim("127.0.0.1:8080");
    // Pad the status page to 64 KiB with a long value.
    sim.post("/state/raw.host_name", std::string(1000, 'x'));
    const std::size_t base = sim.get("/page").size();
    sim.post("/state/raw.host_name", std::string(1000 + 65536 - std::min<std::size_t>(base, 65536), 'x'));

    const std::string request = "GET " + Path
        + " HTTP/1.1\r\nHost:127.0.0.1\r\nConnection: Keep-Alive\r\n"
          "Authorization: Basic "
        + Base64Encode("admin:admin") + "\r\n\r\n";
    std::vector<double> fetchTimes, plainTimes;
    std::size_t pageBytes = 0, plainBytes = 0;
    for (int i = 0; i < rounds + 10; ++i) {
        if (i % 50 == 0)
            sim.post("/requests/clear");
        // Alternate which goes first, so neither gains from the other's wake-up.
        PageResponse page;
        double fetch = 0, plain = 0;
        for (int turn = 0; turn < 2; ++turn) {
            const double start = NowMs();
            if ((turn == 0) == (i % 2 == 0)) {
                page = FetchPage("127.0.0.1", "admin", "admin", Path);
                fetch = NowMs() - start;
            } else {
                plainBytes = PlainFetch(request);
                plain = NowMs() - start;
            }
        }
        pageBytes = page.header.size() + page.body.size();
        if (page.status != 200 || pageBytes != plainBytes) {
            std::fprintf(stderr, "unexpected answer: status %d, %zu bytes against %zu\n", page.status, pageBytes,
                         plainBytes);
            kill(appliance, SIGTERM);
            waitpid(appliance, nullptr, 0);
            return 1;
        }
        if (i >= 10) { // the first rounds warm up both sides
            fetchTimes.push_back(fetch);
            plainTimes.push_back(plain);
        }
    }
    kill(appliance, SIGTERM);
    waitpid(appliance, nullptr, 0);

    const double fetchMedian = Median(fetchTimes), plainMedian = Median(plainTimes);
    std::printf("answer: %zu bytes, %d rounds each\n", pageBytes, rounds);
    std::printf("FetchPage          median %.3f ms\n", fetchMedian);
    std::printf("plain socket read  median %.3f ms\n", plainMedian);
    std::printf("ratio FetchPage / plain socket: %.3f (goal <= 1.2)\n", fetchMedian / plainMedian);
    return 0;
}
