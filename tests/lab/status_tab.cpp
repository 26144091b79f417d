// The Status tab in the lab workstation against one fake appliance, NAS1 at
// 192.168.1.20/24: logged in through the real windows, every setting changed
// the way a user does, and the appliance's state read back after each "Set".
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <cstdlib>

#include "app/CurrentDevice.h"
#include "support/LayoutProblems.h"
#include "support/RecordingNotifier.h"
#include "support/SimControl.h"
#include "ui/Application/Forms.h"
#include "ui/Logindisk/TForm4.h"
#include "ui/Mainform/TForm1.h"
#include "ui/Menuform/DateTimeLogic.h"
#include "ui/Menuform/PageControl.h"
#include "ui/Menuform/StatusTab.h"
#include "ui/Menuform/TForm2.h"

class StatusTabLabTest : public QObject {
    Q_OBJECT

    RecordingNotifier notifier;
    SimControl nas1 = SimControl::fromEnv("NAS1");
    std::string address = std::getenv("SIM_NAS1_ADDRESS") ? std::getenv("SIM_NAS1_ADDRESS") : "";
    int refreshes = 0;
    std::string applianceDiskId;

    template <typename T>
    T* control(const char* name)
    {
        T* found = Form2->statusTab()->findChild<T*>(name);
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    QString shown(const char* name)
    {
        if (auto* edit = Form2->statusTab()->findChild<QLineEdit*>(name))
            return edit->text();
        return control<QLabel>(name)->text();
    }
    void type(const char* name, const QString& text)
    {
        auto* edit = control<QLineEdit>(name);
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    void choose(const char* radio)
    {
        auto* button = control<QRadioButton>(radio);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2)); // on the indicator
        QVERIFY(button->isChecked());
    }
    std::string state(const std::string& key)
    {
        std::string value = nas1.get("/state/" + key);
        while (!value.empty() && (value.back() == '\n' || value.back() == '\r'))
            value.pop_back();
        return value;
    }
    // Presses a "Set" after giving the appliance a disk id that only a refresh
    // after the command can bring onto the tab.
    void pressSet(const char* button)
    {
        const QString marker = QString("LAB-%1").arg(++refreshes);
        nas1.post("/state/disk_id", marker.toStdString());
        QVERIFY(shown("DiskidLB") != marker);
        QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
        QCOMPARE(shown("DiskidLB"), marker);
        QCOMPARE(state("last_outcome"), std::string("ok"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(!address.empty());
        applianceDiskId = state("disk_id");
        CreateForms();
        QVERIFY(Form1 && Form2 && Form4);
        Form1->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form1));
    }

    void logInThroughTheWindows()
    {
        QTest::mouseClick(Form1->ScanBtn, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(Form1->HDListView->topLevelItemCount(), 1, 5000);
        QTreeWidgetItem* row = Form1->HDListView->topLevelItem(0);
        QTest::mouseClick(Form1->HDListView->viewport(), Qt::LeftButton, {},
                          Form1->HDListView->visualItemRect(row).center());
        Form1->Timer1->stop();
        QVERIFY(Form4->isVisible());
        Form4->PassEdit->clear();
        QTest::keyClicks(Form4->PassEdit, "admin");
        QTest::mouseClick(Form4->MenBtn, Qt::LeftButton);
        QVERIFY(Form2->isVisible());
        QCOMPARE(Form2->PageControl1->currentIndex(), 0);
        QVERIFY(notifier.boxes.empty());

        QCOMPARE(shown("HostEdit"), QString("NAS-Status"));
        QCOMPARE(shown("GroupEdit"), QString("OFFICE"));
        QCOMPARE(shown("AdminEdit"), QString("admin"));
        QCOMPARE(shown("IPAddressLB"), QString::fromStdString(address));
        QCOMPARE(shown("MSCAddrLB"), QString::fromStdString(state("mac_addr")));
        QCOMPARE(shown("FirmverLB"), QString("2.4.17"));
        QCOMPARE(shown("DiskidLB"), QString::fromStdString(state("disk_id")));
        QCOMPARE(shown("TotalsizeLB"), QString::fromStdString(state("total_size")));
        QCOMPARE(shown("FreesizeLB"), QString::fromStdString(state("free_size")).trimmed());
        QVERIFY(shown("CurrenttimeLB").size() >= 19);
        QCOMPARE(control<QComboBox>("LangCB")->currentText(), QString("English"));
    }

    void hostAndGroupName()
    {
        type("HostEdit", " Lab-NAS_2 ");
        type("GroupEdit", "LABGROUP");
        pressSet("identBtn");
        QCOMPARE(state("host_name"), std::string("Lab-NAS_2"));
        QCOMPARE(state("group_name"), std::string("LABGROUP"));
        QCOMPARE(shown("HostEdit"), QString("Lab-NAS_2"));
        QCOMPARE(shown("GroupEdit"), QString("LABGROUP"));
        QVERIFY(notifier.boxes.empty());
    }

    void dhcpServer()
    {
        QVERIFY(control<QRadioButton>("DhcpsDRB")->isChecked());
        choose("DhcpsERB");
        pressSet("NetinfoBtn");
        QCOMPARE(state("dhcps_option"), std::string("checked"));
        QVERIFY(control<QRadioButton>("DhcpsERB")->isChecked());
        choose("DhcpsDRB");
        pressSet("NetinfoBtn");
        QCOMPARE(state("dhcps_option"), std::string());
        QVERIFY(control<QRadioButton>("DhcpsDRB")->isChecked());
        QVERIFY(notifier.boxes.empty());
    }

    void language()
    {
        control<QComboBox>("LangCB")->setCurrentIndex(2);
        pressSet("LangBtn");
        QCOMPARE(state("default_lang"), std::string("2"));
        QCOMPARE(control<QComboBox>("LangCB")->currentIndex(), 2);
        QCOMPARE(notifier.boxes.size(), std::size_t(1));
        QCOMPARE(notifier.boxes[0].text, std::string("Please restart system to apply changes!"));
        QCOMPARE(notifier.boxes[0].icon, MessageIcon::Question);
        notifier.boxes.clear();
    }

    void dateTimeWithATypedServer()
    {
        choose("TimeSMakeRB");
        type("MantimeSEdit", "ntp.lab.example");
        choose("SntpDisRB");
        control<QComboBox>("TimezoneCB")->setCurrentIndex(14);
        type("YearEdit", "2030");
        type("MonthEdit", "01");
        type("DataEdit", "02");
        type("HourEdit", "03");
        type("MinuteEdit", "04");
        type("SecondEdit", "05");
        pressSet("DatatimeBtn");
        QCOMPARE(state("sntp_timeserver"), std::string("1"));
        QCOMPARE(state("sntp_server"), std::string("ntp.lab.example"));
        QCOMPARE(state("sntp_zone"), std::string("2"));
        QCOMPARE(state("sntp_auto"), std::string());
        QVERIFY2(shown("CurrenttimeLB").startsWith("2030/01/02 03:0"), qPrintable(shown("CurrenttimeLB")));
        QCOMPARE(shown("YearEdit"), QString("2030"));
        QCOMPARE(shown("MantimeSEdit"), QString("ntp.lab.example"));
        QVERIFY(control<QLineEdit>("MantimeSEdit")->isVisible());
        QVERIFY(!control<QComboBox>("TimeSSelCB")->isVisible());
        QCOMPARE(control<QComboBox>("TimezoneCB")->currentIndex(), 14);
        QVERIFY(control<QRadioButton>("SntpDisRB")->isChecked());
        QVERIFY(notifier.boxes.empty());
    }

    void dateTimeWithAListedServer()
    {
        choose("TimeSSelRB");
        control<QComboBox>("TimeSSelCB")->setCurrentIndex(2);
        choose("SntpAutoRB");
        control<QComboBox>("TimezoneCB")->setCurrentIndex(12);
        pressSet("DatatimeBtn");
        QCOMPARE(state("sntp_timeserver"), std::string("0"));
        QCOMPARE(state("sntp_server"), std::string(DateTimeLogic::TimeServers[2]));
        QCOMPARE(state("sntp_zone"), std::string("0"));
        QCOMPARE(state("sntp_auto"), std::string("checked"));
        QVERIFY(control<QComboBox>("TimeSSelCB")->isVisible());
        QCOMPARE(control<QComboBox>("TimeSSelCB")->currentIndex(), 2);
        QCOMPARE(control<QComboBox>("TimezoneCB")->currentText(), QString("(GMT)Eniwetok, Kwajalein"));
        QVERIFY(control<QRadioButton>("SntpAutoRB")->isChecked());
    }

    void theWindowShowsEveryControlWhole()
    {
        const QString problems = LayoutProblems(
            *Form2->statusTab(), {{"TimeSSelRB", "TimeSSelCB"}, {"TimeSMakeRB", "MantimeSEdit"}});
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
        if (const char* shot = std::getenv("Q70_SCREENSHOT")) {
            // The appliance's own disk id and clock again, for the picture.
            nas1.post("/state/disk_id", applianceDiskId);
            nas1.post("/state/clock_offset", "0");
            Form2->RefreshPage(0);
            QVERIFY(Form2->grab().save(shot));
        }
    }
};

QTEST_MAIN(StatusTabLabTest)
#include "status_tab.moc"
