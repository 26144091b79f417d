#include "ui/Application/Application.h"

#include <exception>
#include <string>

#include "app/Notifier.h"
#include "ui/Application/AnsiText.h"
#include "ui/Application/Forms.h"
#include "ui/Mainform/TForm1.h"

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName("q70config");
    setApplicationVersion(Q70_VERSION);
    // Only the discovery window's close ends the process; the login and
    // management windows, or a box closing while they are hidden, never do.
    setQuitOnLastWindowClosed(false);
    // The installed desktop entry's id, so desktops match the windows to its name and icon.
    setDesktopFileName("org.q70config.Q70config");
}

void Application::ReportError(const std::string& message)
{
    CurrentNotifier().notice(message, ToAnsi(applicationName()), MessageIcon::Error);
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ReportError(error.what());
    } catch (...) {
        ReportError("");
    }
    return false;
}

int Application::run()
{
    try {
        CreateForms();
        Form1->show();
        exec();
    } catch (const std::exception& error) {
        ReportError(error.what());
    } catch (...) {
        ReportError("");
    }
    return 0;
}
