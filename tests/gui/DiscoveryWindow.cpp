#include <QDir>
#include <QTextDocument>
#include <QHeaderView>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <fstream>
#include <memory>
#include <stdexcept>

#include "app/CurrentDevice.h"
#include "discovery/DiscoveryDatagram.h"
#include "platform/UdpEndpoint.h"
#include "support/DiscoveryReplyBytes.h"
#include "support/RecordingNotifier.h"
#include "support/TestSockets.h"
#include "ui/Application/AnsiText.h"
#include "ui/Application/Application.h"
#include "ui/Application/Forms.h"
#include "ui/Mainform/TForm1.h"

namespace {

// Sends one datagram to the window from a loopback address of its own, as
// an appliance at that address would.
void SendFrom(const std::string& sourceAddress, const std::string& bytes)
{
    UdpEndpoint appliance(0, sourceAddress);
    QVERIFY(appliance.sendTo("127.0.0.1", DiscoveryPort, bytes.data(), bytes.size()));
}

// Wine (8.0) binds a UDP socket meant for a loopback address other than
// 127.0.0.1 to every address, so all its datagrams come from 127.0.0.1.
#define REQUIRE_OWN_SENDER_ADDRESSES()                                                                             \
    do {                                                                                                           \
        if (RunningUnderWine())                                                                                    \
            QSKIP("wine sends every loopback datagram from 127.0.0.1");                                            \
    } while (false)

QStringList RowTexts(const QTreeWidget* list, int row)
{
    QStringList texts;
    for (int column = 0; column < list->columnCount(); ++column)
        texts << list->topLevelItem(row)->text(column);
    return texts;
}

} // namespace

class DiscoveryWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(workDirectory_.isValid());
        QVERIFY(QDir::setCurrent(workDirectory_.path()));
        TForm1::EndProcess = [this](int code) { exitCodes_.push_back(code); };
    }

    void init()
    {
        CurrentDevice.Address.clear();
        window_ = std::make_unique<TForm1>();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanup()
    {
        window_.reset();
        QFile::remove("language");
    }

    void controlsAsSpecified()
    {
        TForm1& w = *window_;
        QCOMPARE(w.size(), QSize(468, 292));
        // A fixed border, like the other windows: no resizing, no maximizing.
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QVERIFY(w.windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QCOMPARE(w.windowTitle(), QString("Vantrel Q70 Configuration Utility - Version 1.7.2"));
        QCOMPARE(w.findChild<QProgressBar*>("ProgressBar1"), w.ProgressBar1);
        QCOMPARE(w.findChild<QTreeWidget*>("HDListView"), w.HDListView);
        QCOMPARE(w.findChild<QPushButton*>("ScanBtn"), w.ScanBtn);
        QCOMPARE(w.findChild<QTimer*>("Timer1"), w.Timer1);

        QCOMPARE(w.ProgressBar1->height(), 7);
        QVERIFY(w.ProgressBar1->geometry().bottom() < w.HDListView->geometry().top());
        QCOMPARE(w.ProgressBar1->minimum(), 0);
        QCOMPARE(w.ProgressBar1->maximum(), 130);
        QCOMPARE(w.ProgressBar1->value(), 0);

        QCOMPARE(w.Timer1->interval(), 1000);
        QVERIFY(!w.Timer1->isActive());

        QTreeWidget* list = w.HDListView;
        QCOMPARE(list->columnCount(), 4);
        const QStringList captions{"IP Address", "Disk Name", "Group Name", "Firmware Version"};
        const int widths[] = {88, 110, 110, 120};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(list->headerItem()->text(i), captions[i]);
            QCOMPARE(list->columnWidth(i), widths[i]);
        }
        QCOMPARE(list->topLevelItemCount(), 0);
        QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(list->editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(!list->rootIsDecorated());
        QCOMPARE(w.ScanBtn->text(), QString("Search for Remote Devices"));
        QVERIFY(w.ScanBtn->isEnabled());
    }

    void captionsComeThroughTheLanguageFile()
    {
        window_.reset();
        std::ofstream("language", std::ios::binary)
            << "Vantrel Q70 Configuration Utility - Version =Konfiguration Version \r\n"
               "IP Address=IP-Adresse\r\nDisk Name=Festplatte\r\nGroup Name=Gruppe\r\n"
               "Firmware Version=Firmware\r\nSearch for Remote Devices=Ger\xc3\xa4te suchen\r\n";
        CurrentDevice.TranslationOn = 0; // the window turns the lookup on itself
        window_ = std::make_unique<TForm1>();
        QCOMPARE(CurrentDevice.TranslationOn, 1);
        QCOMPARE(window_->windowTitle(), QString("Konfiguration Version 1.7.2"));
        QCOMPARE(window_->HDListView->headerItem()->text(0), QString("IP-Adresse"));
        QCOMPARE(window_->HDListView->headerItem()->text(1), QString("Festplatte"));
        QCOMPARE(window_->HDListView->headerItem()->text(2), QString("Gruppe"));
        QCOMPARE(window_->HDListView->headerItem()->text(3), QString("Firmware"));
        QCOMPARE(window_->ScanBtn->text(), QString::fromUtf8("Ger\xc3\xa4te suchen"));
    }

    void socketTroubleIsToldInTheProgramsOwnWords()
    {
        // Through the language file, like every text.
        std::ofstream("language", std::ios::binary)
            << "UDP port 14675, which the search for appliances needs, is taken by another program or by another "
               "copy of this utility. Close that program or copy, then start this utility again.=Port belegt\r\n"
               "The search could not be sent: this computer has no network connection up. Connect it to the "
               "network of your appliances, then search again.=Nicht gesendet\r\n";
        try {
            TForm1 second; // this test's window holds the port
            QFAIL("a second window bound the discovery port");
        } catch (const PortTakenError&) {
            QFAIL("the system's words would reach the user");
        } catch (const std::runtime_error& error) {
            QCOMPARE(QString(error.what()), QString("Port belegt"));
        }

        // Here the broadcast has nowhere to go: told once, and the search runs all the same.
        RecordingNotifier notifier;
        QTest::mouseClick(window_->ScanBtn, Qt::LeftButton);
        QCOMPARE(notifier.boxes.size(), size_t(1));
        QCOMPARE(notifier.boxes[0].text, std::string("Nicht gesendet"));
        QCOMPARE(int(notifier.boxes[0].icon), int(MessageIcon::Error));
        QVERIFY(window_->Timer1->isActive());
    }

    void repliesAreListedOncePerSender()
    {
        REQUIRE_OWN_SENDER_ADDRESSES();
        // Which datagrams count as replies is the filter's business; here:
        // what reaches the list, in which order, and how it is shown.
        QTreeWidget* list = window_->HDListView;
        SendFrom("127.0.0.20", Reply("NAS-One", "WORKGROUP", "2.0.14"));
        SendFrom("127.0.0.25", BuildDiscoveryRequest());
        SendFrom("127.0.0.20", Reply("Again", "Other", "9"));
        SendFrom("127.0.0.31", Reply("Caf\xe9", "", "1"));
        QTRY_COMPARE(list->topLevelItemCount(), 2);
        QTest::qWait(100); // nothing else may trickle in
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(RowTexts(list, 0), (QStringList{"127.0.0.20", "NAS-One", "WORKGROUP", "2.0.14"}));
        QCOMPARE(RowTexts(list, 1), (QStringList{"127.0.0.31", QString::fromUtf8("Caf\xc3\xa9"), "", "1"}));
    }

    void cellsTooNarrowForTheirTextShowItWholeOnHover()
    {
        REQUIRE_OWN_SENDER_ADDRESSES();
        // The columns have fixed widths; a long address or a full field is
        // cut short in the cell, so the whole text is there on hover.
        QTreeWidget* list = window_->HDListView;
        // What an appliance sends is shown as it is, markup included.
        SendFrom("127.100.200.250", Reply("<b>DISK</b> 1234", "WWWWWWWWWWWWWWWW", std::string(30, '8')));
        QTRY_COMPARE(list->topLevelItemCount(), 1);
        const QFontMetrics metrics(list->font());
        QVERIFY(metrics.horizontalAdvance("127.100.200.250") > list->columnWidth(0) - 8);
        QTreeWidgetItem* row = list->topLevelItem(0);
        for (int column = 0; column < 4; ++column) {
            QTextDocument shown;
            shown.setHtml(row->toolTip(column));
            QCOMPARE(shown.toPlainText(), row->text(column));
        }
        QCOMPARE(row->text(1), QString("<b>DISK</b> 1234"));
    }

    void aBurstOfRepliesIsListedWhole()
    {
        REQUIRE_OWN_SENDER_ADDRESSES();
        // More than the window reads in one go, all waiting at once.
        std::vector<std::unique_ptr<UdpEndpoint>> appliances;
        for (int i = 0; i < 600; ++i)
            appliances.push_back(std::make_unique<UdpEndpoint>(0, "127.2." + std::to_string(i / 200) + "." +
                                                                      std::to_string(i % 200 + 1)));
        const std::string reply = Reply("NAS", "WORKGROUP", "2.4.17");
        for (auto& appliance : appliances)
            QVERIFY(appliance->sendTo("127.0.0.1", DiscoveryPort, reply.data(), reply.size()));
        QTRY_COMPARE(window_->HDListView->topLevelItemCount(), 600);
        QCOMPARE(window_->HDListView->topLevelItem(599)->text(0), QString("127.2.2.200"));
    }

    void searchEmptiesTheListAndRestartsTheProgress()
    {
        TForm1& w = *window_;
        SendFrom("127.0.0.20", Reply("NAS-One", "WORKGROUP", "2.0.14"));
        QTRY_COMPARE(w.HDListView->topLevelItemCount(), 1);
        w.ProgressBar1->setValue(70);

        // Here the broadcast has nowhere to go; the search goes on regardless.
        QTest::mouseClick(w.ScanBtn, Qt::LeftButton);
        QCOMPARE(w.HDListView->topLevelItemCount(), 0);
        QCOMPARE(w.ProgressBar1->value(), 0);
        QVERIFY(w.Timer1->isActive());

        // The same appliance is listed again after a new search.
        SendFrom("127.0.0.20", Reply("NAS-One", "WORKGROUP", "2.0.14"));
        QTRY_COMPARE(w.HDListView->topLevelItemCount(), 1);
    }

    void progressRunsThirteenTicksToTheEnd()
    {
        TForm1& w = *window_;
        w.ScanBtnClick();
        // The first tick on the real timer, about a second later.
        QTest::qWait(700);
        QCOMPARE(w.ProgressBar1->value(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(w.ProgressBar1->value(), 10, 1500);
        for (int tick = 2; tick <= 13; ++tick) {
            QVERIFY(w.Timer1->isActive());
            w.Timer1Timer();
            QCOMPARE(w.ProgressBar1->value(), tick * 10);
        }
        QVERIFY(!w.Timer1->isActive());
        QCOMPARE(w.ProgressBar1->value(), 130);
        // Late replies are still listed once the progress has ended.
        SendFrom("127.0.0.40", Reply("Late", "", "1"));
        QTRY_COMPARE(w.HDListView->topLevelItemCount(), 1);
        QVERIFY(w.ScanBtn->isEnabled());
    }

    void clickOnARowPicksTheAppliance()
    {
        REQUIRE_OWN_SENDER_ADDRESSES();
        RecordingNotifier notifier;
        TForm1& w = *window_;
        SendFrom("127.0.0.20", Reply("NAS-One", "WORKGROUP", "2.0.14"));
        SendFrom("127.0.0.21", Reply("NAS-Two", "WORKGROUP", "2.0.14"));
        QTRY_COMPARE(w.HDListView->topLevelItemCount(), 2);

        QWidget* viewport = w.HDListView->viewport();
        const QRect below = w.HDListView->visualItemRect(w.HDListView->topLevelItem(1));
        QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(40, below.bottom() + 40));
        QCOMPARE(CurrentDevice.Address, std::string()); // no row was selected

        const QRect second = w.HDListView->visualItemRect(w.HDListView->topLevelItem(1));
        QTest::mouseClick(viewport, Qt::LeftButton, {}, second.center());
        QCOMPARE(CurrentDevice.Address, std::string("127.0.0.21"));
        // Without a login window the discovery window stays; and with no
        // workstation address to compare, no subnet warning.
        QVERIFY(w.isVisible());
        QVERIFY(notifier.boxes.empty());
    }

    void closingEndsTheProcessWithZero()
    {
        exitCodes_.clear();
        window_->close();
        QCOMPARE(exitCodes_, std::vector<int>{0});
    }

private:
    QTemporaryDir workDirectory_;
    std::unique_ptr<TForm1> window_;
    std::vector<int> exitCodes_;
};

int main(int argc, char** argv)
{
    Application application(argc, argv);
    DiscoveryWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "DiscoveryWindow.moc"
