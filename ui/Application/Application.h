#pragma once

#include <QApplication>

// The program's application object. An exception that escapes an event
// handler is reported in an error box and the event loop goes on.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Creates the windows, shows the main one and runs the event loop. An
    // error while doing so is reported in an error box; the exit code is 0
    // either way.
    int run();

    // Shows an escaped error's message in an error box.
    static void ReportError(const std::string& message);
};
