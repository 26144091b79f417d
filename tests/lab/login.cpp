// The real windows in the lab workstation against one fake appliance, NAS1 at
// 192.168.1.20/24, driven the way a user logs in and manages it.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>

#include "app/CurrentDevice.h"
#include "platform/Clock.h"
#include "support/RecordingNotifier.h"
#include "support/SimControl.h"
#include "ui/Application/Forms.h"
#include "ui/Logindisk/TForm4.h"
#include "ui/Mainform/TForm1.h"
#include "ui/Menuform/PageControl.h"
#include "ui/Menuform/StatusTab.h"
#include "ui/Menuform/TForm2.h"

namespace {

std::string Trimmed(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

QString Shown(const char* name)
{
    if (auto* edit = Form2->findChild<QLineEdit*>(name))
        return edit->text();
    if (auto* label = Form2->findChild<QLabel*>(name))
        return label->text();
    return QString("<no %1>").arg(name);
}

void TypePassword(const QString& password)
{
    Form4->PassEdit->clear();
    QTest::keyClicks(Form4->PassEdit, password);
}

} // namespace

class LoginLabTest : public QObject {
    Q_OBJECT

    RecordingNotifier notifier;
    SimControl nas1 = SimControl::fromEnv("NAS1");
    std::string address = std::getenv("SIM_NAS1_ADDRESS") ? std::getenv("SIM_NAS1_ADDRESS") : "";

    int RequestsSince(int before) { return std::stoi(nas1.get("/requests/count")) - before; }
    int Requests() { return std::stoi(nas1.get("/requests/count")); }

    void ExpectStatusPageOfTheAppliance()
    {
        QVERIFY(Form2->isVisible());
        QVERIFY(Form2->isEnabled());
        QCOMPARE(Form2->windowTitle(), QString::fromStdString("Management " + address));
        QCOMPARE(Form2->PageControl1->currentIndex(), 0);
        QCOMPARE(Shown("HostEdit"), QString("NAS-Login"));
        QCOMPARE(Shown("GroupEdit"), QString("OFFICE"));
        QCOMPARE(Shown("IPAddressLB"), QString::fromStdString(address));
        QCOMPARE(Shown("FirmverLB"), QString("2.4.17"));
        QCOMPARE(Shown("MSCAddrLB"), QString::fromStdString(Trimmed(nas1.get("/state/mac_addr"))));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(!address.empty());
        CreateForms();
        QVERIFY(Form1 && Form2 && Form4);
        Form1->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form1));
    }

    void searchAndPickTheAppliance()
    {
        QTest::mouseClick(Form1->ScanBtn, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(Form1->HDListView->topLevelItemCount(), 1, 5000);
        QTreeWidgetItem* row = Form1->HDListView->topLevelItem(0);
        QCOMPARE(row->text(0), QString::fromStdString(address));
        QTest::mouseClick(Form1->HDListView->viewport(), Qt::LeftButton, {},
                          Form1->HDListView->visualItemRect(row).center());
        QVERIFY(Form4->isVisible());
        QVERIFY(!Form1->isVisible());
        QCOMPARE(Form4->focusWidget(), Form4->PassEdit);
        QCOMPARE(CurrentDevice.Address, address);
        QVERIFY(notifier.boxes.empty());
        Form1->Timer1->stop();
    }

    void aWrongPasswordIsRefusedAfterEightTries()
    {
        TypePassword("wrong");
        const int before = Requests();
        QTest::mouseClick(Form4->MenBtn, Qt::LeftButton);
        QCOMPARE(RequestsSince(before), 8);
        QCOMPARE(notifier.boxes.size(), std::size_t{1});
        QCOMPARE(notifier.boxes[0].text, std::string("Login failed, please check your username and password"));
        QCOMPARE(notifier.boxes[0].caption, std::string("Login"));
        QCOMPARE(Form4->focusWidget(), Form4->PassEdit);
        QVERIFY(Form4->isVisible());
        QVERIFY(!Form2->isVisible());
        notifier.boxes.clear();
    }

    void theRightPasswordOpensTheStatusPage()
    {
        TypePassword("admin");
        if (const char* shot = std::getenv("Q70_SCREENSHOT"))
            QVERIFY(Form4->grab().save(shot));
        const int before = Requests();
        QTest::mouseClick(Form4->MenBtn, Qt::LeftButton);
        // The login's fetch and the Status page's own read.
        QCOMPARE(RequestsSince(before), 2);
        QVERIFY(!Form4->isVisible());
        ExpectStatusPageOfTheAppliance();
        QVERIFY(notifier.boxes.empty());
    }

    void changingTheAdministratorPasswordHandsOverToTheLogin()
    {
        StatusTab* status = Form2->statusTab();
        QTest::keyClicks(status->passEdit(), "s3cret");
        QTest::keyClicks(status->verifyEdit(), "s3cret");
        QTest::mouseClick(Form2->findChild<QPushButton*>("adminBtn"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(Form4->isVisible(), 5000);
        QCOMPARE(Trimmed(nas1.get("/state/password")), std::string("s3cret"));
        QCOMPARE(CurrentDevice.Password, std::string("s3cret"));
        QVERIFY(notifier.boxes.empty());

        // The old password is refused now, the new one gets back in.
        TypePassword("admin");
        QTest::mouseClick(Form4->MenBtn, Qt::LeftButton);
        QCOMPARE(notifier.boxes.size(), std::size_t{1});
        QCOMPARE(notifier.boxes[0].caption, std::string("Login"));
        notifier.boxes.clear();

        TypePassword("s3cret");
        QTest::mouseClick(Form4->MenBtn, Qt::LeftButton);
        QVERIFY(!Form4->isVisible());
        ExpectStatusPageOfTheAppliance();
        QCOMPARE(status->passEdit()->text(), QString());
        QCOMPARE(status->verifyEdit()->text(), QString());
        QVERIFY(notifier.boxes.empty());
    }

    void closingTheManagementWindowReturnsToTheLogin()
    {
        Form2->close();
        QVERIFY(!Form2->isVisible());
        QVERIFY(Form4->isVisible());
    }

    void anUnreachableApplianceFailsToConnectInBoundedTime()
    {
        // Nothing answers at this address of the segment.
        CurrentDevice.Address = "192.168.1.99";
        const auto started = MonotonicMs();
        QTest::mouseClick(Form4->MountBtn, Qt::LeftButton);
        const auto took = MonotonicMs() - started;
        CurrentDevice.Address = address;
        QCOMPARE(notifier.boxes.size(), std::size_t{1});
        QCOMPARE(notifier.boxes[0].text, std::string("Connection fail"));
        QCOMPARE(notifier.boxes[0].caption, std::string("Connect"));
        QCOMPARE(notifier.boxes[0].icon, MessageIcon::Error);
        QVERIFY(Form4->isVisible());
        // 8 connection attempts, each given up after at most 3 s, and their pauses.
        QVERIFY2(took <= 8 * (3000 + 20) + 1000, qPrintable(QString::number(took)));
    }
};

QTEST_MAIN(LoginLabTest)
#include "login.moc"
