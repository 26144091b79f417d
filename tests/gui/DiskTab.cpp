// The Disk Utility page's watch of the scan report on the window's Timer2,
// with the status page served by a stand-in fetch.
#include "ui/Menuform/DiskTab.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <stdexcept>

#include "app/CurrentDevice.h"
#include "device/StatusPage.h"
#include "support/RecordingNotifier.h"
#include "support/StatusPageText.h"

class DiskTabTest : public QObject {
    Q_OBJECT

private:
    int reads = 0;
    bool reachable = true;
    std::string report = "Scan disk started\n";

    QString Report(DiskTab& page) { return page.findChild<QPlainTextEdit*>("DiskScanMO")->toPlainText(); }

private slots:
    void init()
    {
        reads = 0;
        reachable = true;
        report = "Scan disk started\n";
        CurrentDevice.Address = "127.0.0.1";
        SetStatusPageFetcher([this](const std::string&, const std::string&, const std::string&, const std::string&) {
            ++reads;
            if (!reachable)
                return PageResponse{};
            return PageResponse{"", StatusPageText({{"disk_idle_value", "10"}, {"disk_scan", report}}), 200};
        });
    }
    void cleanup() { SetStatusPageFetcher({}); }

    void startWatchesOnlyAfterOk()
    {
        RecordingNotifier notifier;
        QTimer timer;
        DiskTab page;
        page.setScanTimer(&timer);
        notifier.answers = {false, true};
        page.DiskScanBtnClick();
        QVERIFY(!timer.isActive());
        page.DiskScanBtnClick();
        QVERIFY(timer.isActive());
        QCOMPARE(timer.interval(), 0); // the window's interval is kept as it is
        page.DiskRefBtnClick();
        QVERIFY(!timer.isActive());
    }

    void reportReadEveryThirtiethTick()
    {
        RecordingNotifier notifier;
        QTimer timer;
        DiskTab page;
        page.setScanTimer(&timer);
        page.TabSheet7Show();
        QCOMPARE(Report(page), QString("Scan disk started"));
        QCOMPARE(page.findChild<QLineEdit*>("DiskSleepTimeEdit")->text(), QString("10"));
        reads = 0;
        report += "Phase 1\n";
        timer.start(60000);
        for (int tick = 1; tick < 30; ++tick)
            page.Timer2Timer();
        QCOMPARE(reads, 0);
        page.Timer2Timer();
        QCOMPARE(reads, 1);
        QCOMPARE(Report(page), QString("Scan disk started\nPhase 1"));
        QVERIFY(timer.isActive());

        // "Ignore Error Messages" starts the count again.
        for (int tick = 1; tick < 20; ++tick)
            page.Timer2Timer();
        page.DiskRefBtnClick();
        for (int tick = 1; tick < 30; ++tick)
            page.Timer2Timer();
        QCOMPARE(reads, 1);
    }

    void unreachableApplianceEndsTheWatch()
    {
        RecordingNotifier notifier;
        QTimer timer;
        DiskTab page;
        page.setScanTimer(&timer);
        page.TabSheet7Show();
        reachable = false;
        reads = 0;
        timer.start(60000);
        page.RefreshScanReport();
        QVERIFY(!timer.isActive());
        QCOMPARE(notifier.boxes.size(), std::size_t(8)); // one "Connection Fail" per read
        QVERIFY(reads >= 8);
        QCOMPARE(Report(page), QString("Scan disk started"));
        QVERIFY(page.findChild<QPushButton*>("DiskDelMsgBtn")->isEnabled());
    }

    void sleepTimeThatIsNoNumberEndsTheHandler()
    {
        RecordingNotifier notifier;
        DiskTab page;
        page.findChild<QLineEdit*>("DiskSleepTimeEdit")->setText("1x");
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, page.DiskSleepBtnClick());
        QVERIFY(notifier.boxes.empty()); // the application reports it, not the page
    }
};

QTEST_MAIN(DiskTabTest)
#include "DiskTab.moc"
