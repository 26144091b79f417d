#include "ui/Application/Application.h"
#include "ui/Application/MessageBoxNotifier.h"

int main(int argc, char** argv)
{
    Application application(argc, argv);
    MessageBoxNotifier notifier;
    SetNotifier(&notifier);
    const int exitCode = application.run();
    SetNotifier(nullptr);
    return exitCode;
}
