// Start-up time: from starting the program to its discovery window shown,
// against a bare Qt window started the same way, and against the same bare
// window holding one button with a text (which adds the font set-up every
// window with text pays). Each is a child process of this one (offscreen),
// run several times in turn.
//
//   tools/lab/isolated build/bench/bench_startup [rounds]
#include <QApplication>
#include <QPushButton>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "platform/Clock.h"
#include "platform/LocalAddresses.h"
#include "ui/Application/Application.h"
#include "ui/Application/Forms.h"
#include "ui/Application/MessageBoxNotifier.h"
#include "ui/Mainform/TForm1.h"

namespace {

// Tells the parent the window is on screen, then leaves at once.
[[noreturn]] void ReportShown(QWidget& window)
{
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::fputs("shown\n", stdout);
    std::fflush(stdout);
    std::_Exit(0);
}

int RunBare(int argc, char** argv, bool withText)
{
    QApplication application(argc, argv);
    QWidget window;
    window.setFixedSize(468, 292);
    window.setWindowTitle("Bare window");
    if (withText)
        (new QPushButton("Search for Remote Devices", &window))->setGeometry(124, 252, 220, 30);
    window.show();
    ReportShown(window);
}

int RunProgram(int argc, char** argv)
{
    // The same steps as the program's entry.
    Application application(argc, argv);
    MessageBoxNotifier notifier;
    SetNotifier(&notifier);
    CreateForms();
    Form1->show();
    ReportShown(*Form1);
}

// Milliseconds from starting the child to its "shown" line.
double TimeChild(const char* mode)
{
    int out[2];
    if (pipe(out) != 0)
        std::exit(1);
    const std::int64_t start = MonotonicMs();
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execl("/proc/self/exe", "bench_startup", "--child", mode, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    char line[16] = {};
    const ssize_t got = read(out[0], line, sizeof line - 1);
    const std::int64_t shown = MonotonicMs();
    close(out[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (got <= 0 || std::strncmp(line, "shown", 5) != 0) {
        std::fprintf(stderr, "child %s did not show its window\n", mode);
        std::exit(1);
    }
    return static_cast<double>(shown - start);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--child") == 0) {
        int childArgc = 1;
        const std::string mode = argv[2];
        return mode == "program" ? RunProgram(childArgc, argv) : RunBare(childArgc, argv, mode == "text");
    }
    if (!LocalAddresses().empty()) {
        std::fprintf(stderr, "run inside tools/lab/isolated: the program binds the discovery port\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    std::vector<double> bare, text, program;
    for (const char* mode : {"bare", "text", "program"})
        TimeChild(mode); // warms the file cache for all
    for (int i = 0; i < rounds; ++i) {
        bare.push_back(TimeChild("bare"));
        text.push_back(TimeChild("text"));
        program.push_back(TimeChild("program"));
    }
    const double bareMs = Median(bare), textMs = Median(text), programMs = Median(program);
    std::printf("start-up to window shown, median of %d runs each\n", rounds);
    std::printf("  bare Qt window               %7.1f ms\n", bareMs);
    std::printf("  bare window with a button    %7.1f ms\n", textMs);
    std::printf("  discovery window             %7.1f ms\n", programMs);
    std::printf("  ratio to the bare window     %7.2f   (goal <= 1.30)\n", programMs / bareMs);
    std::printf("  ratio to the window w/ text  %7.2f\n", programMs / textMs);
    return 0;
}
