#include <QTest>
#include <QTimer>

#include "app/CurrentDevice.h"
#include "discovery/DiscoveryDatagram.h"
#include "platform/UdpEndpoint.h"
#include "support/RecordingNotifier.h"
#include "ui/Application/Application.h"
#include "ui/Application/Forms.h"
#include "ui/Mainform/TForm1.h"

class ApplicationShellTest : public QObject {
    Q_OBJECT

private slots:
    void startUpErrorIsReportedAndExitsWithZero()
    {
        RecordingNotifier notifier;
        UdpEndpoint otherCopy(DiscoveryPort);
        auto* application = static_cast<Application*>(QCoreApplication::instance());
        QCOMPARE(application->run(), 0);
        QCOMPARE(notifier.boxes.size(), std::size_t(1));
        QCOMPARE(notifier.boxes[0].icon, MessageIcon::Error);
        const QString text = QString::fromStdString(notifier.boxes[0].text);
#ifdef _WIN32
        // The system's words (wine has none) and the error's number.
        QVERIFY2(text.startsWith("Could not bind UDP port 14675: ") && text.contains("Winsock error 10048"),
                 qPrintable(text));
#else
        QCOMPARE(text, QString("Could not bind UDP port 14675: Address already in use"));
#endif
        QCOMPARE(Form1, nullptr);
    }

    void startUpShowsOnlyTheDiscoveryWindow()
    {
        RecordingNotifier notifier;
        QCOMPARE(CurrentDevice.Address, std::string());
        QCOMPARE(CurrentDevice.UserName, std::string());
        QCOMPARE(CurrentDevice.Password, std::string());
        QCOMPARE(CurrentDevice.CommandPauseMs, 20);
        QStringList visible;
        QTimer::singleShot(0, [&] {
            for (QWidget* window : QApplication::topLevelWidgets())
                if (window->isVisible())
                    visible << window->objectName();
            QCoreApplication::exit(5);
        });
        auto* application = static_cast<Application*>(QCoreApplication::instance());
        QCOMPARE(application->run(), 0);
        QCOMPARE(visible, QStringList{"TForm1"});
        QVERIFY(notifier.boxes.empty());
        QCOMPARE(CurrentDevice.TranslationOn, 1);
        delete Form1;
        Form1 = nullptr;
    }

};

int main(int argc, char** argv)
{
    Application application(argc, argv);
    ApplicationShellTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ApplicationShell.moc"
