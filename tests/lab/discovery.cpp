// The real windows in the lab workstation, searching a segment with two fake
// appliances: NAS1 at 192.168.1.20/24 beside the workstation, NAS2 at
// 192.168.2.20/24 on another subnet.
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>
#include <map>

#include "app/CurrentDevice.h"
#include "discovery/DiscoveryDatagram.h"
#include "support/RecordingNotifier.h"
#include "support/SimControl.h"
#include "ui/Application/Application.h"
#include "ui/Application/Forms.h"
#include "ui/Mainform/TForm1.h"

namespace {

using Rows = std::map<QString, QStringList>; // by address

Rows ListedRows(const QTreeWidget* list)
{
    Rows rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        rows[item->text(0)] = QStringList{item->text(1), item->text(2), item->text(3)};
    }
    return rows;
}

const Rows BothAppliances{{"192.168.1.20", {"NAS-One", "WORKGROUP", "2.4.17"}},
                          {"192.168.2.20", {"NAS-Two", "ARCHIVE", "2.3.9"}}};

QWidget* LoginWindow()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == "TForm4")
            return window;
    return nullptr;
}

} // namespace

class DiscoveryLabTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        CreateForms();
        QVERIFY(Form1);
        Form1->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form1));
        list_ = Form1->findChild<QTreeWidget*>("HDListView");
        scan_ = Form1->findChild<QPushButton*>("ScanBtn");
        QVERIFY(list_ && scan_);
    }

    void init()
    {
        for (SimControl* sim : {&nas1_, &nas2_}) {
            sim->post("/discovery/normal");
            sim->post("/discovery/clear");
        }
    }

    void searchListsBothAppliances()
    {
        QTest::mouseClick(scan_, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(list_->topLevelItemCount(), 2, 5000);
        QCOMPARE(ListedRows(list_), BothAppliances);
        QVERIFY(Form1->findChild<QTimer*>("Timer1")->isActive());

        // Each appliance got the one request, byte for byte.
        const std::string request = BuildDiscoveryRequest();
        for (SimControl* sim : {&nas1_, &nas2_}) {
            QCOMPARE(sim->get("/discovery/count"), std::string("1\n"));
            QCOMPARE(sim->get("/discovery/0"), request);
        }

        if (const char* path = std::getenv("Q70_SCREENSHOT")) {
            list_->topLevelItem(0)->setSelected(true);
            QTest::qWait(2200); // a little progress on the bar
            QVERIFY(Form1->grab().save(path));
            list_->clearSelection();
        }
    }

    void repeatedReplyGivesOneRow()
    {
        nas1_.post("/discovery/repeat");
        QTest::mouseClick(scan_, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(list_->topLevelItemCount(), 2, 5000);
        QTest::qWait(300);
        QCOMPARE(ListedRows(list_), BothAppliances);
    }

    void malformedDatagramsAreIgnored()
    {
        nas1_.post("/discovery/malformed");
        nas2_.post("/discovery/malformed");
        QTest::mouseClick(scan_, Qt::LeftButton);
        // The valid reply comes after the malformed ones.
        QTRY_COMPARE_WITH_TIMEOUT(list_->topLevelItemCount(), 2, 5000);
        QTest::qWait(300);
        QCOMPARE(ListedRows(list_), BothAppliances);
    }

    void fullAndEmptyFieldsShownExactly()
    {
        nas1_.post("/discovery/empty-names");
        nas2_.post("/discovery/full-fields");
        QTest::mouseClick(scan_, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(list_->topLevelItemCount(), 2, 5000);
        const Rows expected{
            {"192.168.1.20", {"", "", "2.4.17"}},
            {"192.168.2.20", {"ABCDEFGHIJKLMNOP", "GROUPNAME-16CHRS", "0123456789ABCDEFGHIJKLMNOPQRST"}}};
        QCOMPARE(ListedRows(list_), expected);
    }

    void silentAppliancesLeaveTheListEmpty()
    {
        nas1_.post("/discovery/silent");
        nas2_.post("/discovery/silent");
        QTest::mouseClick(scan_, Qt::LeftButton);
        QCOMPARE(list_->topLevelItemCount(), 0);
        QTest::qWait(700);
        QCOMPARE(list_->topLevelItemCount(), 0);
        QCOMPARE(nas1_.get("/discovery/count"), std::string("1\n"));
    }

    void pickingAnApplianceWarnsOnlyForTheOtherSubnet()
    {
        QTest::mouseClick(scan_, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(list_->topLevelItemCount(), 2, 5000);
        const struct {
            const char* address;
            bool warned;
        } picks[] = {{"192.168.2.20", true}, {"192.168.1.20", false}};
        for (const auto& pick : picks) {
            RecordingNotifier notifier;
            Form1->show();
            const auto found = list_->findItems(pick.address, Qt::MatchExactly, 0);
            QCOMPARE(found.size(), 1);
            QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, list_->visualItemRect(found[0]).center());
            QCOMPARE(QString::fromStdString(CurrentDevice.Address), QString(pick.address));
            if (pick.warned) {
                QCOMPARE(notifier.boxes.size(), std::size_t(1));
                QCOMPARE(notifier.boxes[0].text, std::string("Subnet differ, Connection fail"));
                QCOMPARE(notifier.boxes[0].caption, std::string("Search for Remote Devices"));
                QCOMPARE(notifier.boxes[0].icon, MessageIcon::Information);
            } else {
                QVERIFY(notifier.boxes.empty());
            }
            // The login window takes over once there is one.
            if (QWidget* login = LoginWindow()) {
                QVERIFY(login->isVisible());
                QVERIFY(!Form1->isVisible());
                login->hide();
            } else {
                QVERIFY(Form1->isVisible());
            }
        }
    }

private:
    SimControl nas1_ = SimControl::fromEnv("NAS1");
    SimControl nas2_ = SimControl::fromEnv("NAS2");
    QTreeWidget* list_ = nullptr;
    QPushButton* scan_ = nullptr;
};

int main(int argc, char** argv)
{
    Application application(argc, argv);
    TForm1::EndProcess = [](int) {};
    DiscoveryLabTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "discovery.moc"
