// The Status tab against the fake appliance on loopback (the test runs inside
// tools/lab/isolated): what the refresh shows, and what each "Set" sends.
#include "ui/Menuform/StatusTab.h"

#include <QStyle>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

#include "app/CurrentDevice.h"
#include "app/LocalizeText.h"
#include "device/CommandExchange.h"
#include "device/CommandSender.h"
#include "support/LanguageFile.h"
#include "support/LayoutProblems.h"
#include "support/LoopbackAppliance.h"
#include "support/RecordingNotifier.h"
#include "ui/Application/AnsiText.h"
#include "ui/Application/WindowText.h"
#include "ui/Menuform/DateTimeLogic.h"

namespace {

// The management window as far as the sender needs it: the Status tab is page 0 and in front.
class StatusWindows final : public CommandSenderWindows {
public:
    explicit StatusWindows(StatusTab& tab) : tab(tab) {}
    int ActiveTabIndex() override { return 0; }
    void RefreshPage(int pageNumber) override
    {
        refreshed.push_back(pageNumber);
        if (pageNumber == 0)
            tab.TabSheet1Show();
    }
    std::string NewPasswordText() override { return ToAnsi(tab.passEdit()->text()); }
    bool AutomaticIPChosen() override { return false; }
    std::string IPAddressText() override { return {}; }
    void HideManagementWindow() override {}
    void ShowDiscoveryAndSearch() override {}

    std::vector<int> refreshed;

private:
    StatusTab& tab;
};

// A command client whose appliance takes every command and then stops
// answering, as one that was switched off mid-way.
class VanishingTransport final : public CommandTransport {
public:
    CommandResult CommandExchange(const std::string& url, const std::string&, const std::string&,
                                  const std::string&) override
    {
        urls.push_back(url);
        return CommandResult{false, 302, "HTTP/1.0 302 Found\r\nLocation: status.htm\r\n\r\n", false, ""};
    }
    void SetTimeoutMs(std::optional<int>) override {}
    bool ProbeConnection(const std::string&) override { return false; }

    std::vector<std::string> urls;
};

} // namespace

class StatusTabTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void controlsBeforeFirstRefresh();
    void captionsComeFromTheLanguageFile();
    void refreshShowsTheAppliance();
    void refreshOfListedServerAndLanguage();
    void unreadablePageGivesEmptyTab();
    void timeServerRadiosSwapInputs();
    void identificationChangesTheAppliance();
    void identificationRefusals_data();
    void identificationRefusals();
    void dhcpServerSwitch();
    void languageThenRestartNotice();
    void dateTimeWithListedServer();
    void emptyTypedServerWarnsAndStillSends();
    void passwordMismatchKeepsWindow();
    void passwordChangeHandsOverToLogin();
    void unreachableApplianceIsToldOnce();
    void longValuesAreShownAndSentWhole();
    void typedTextInTheServerListIsNotSent();
    void refusedNameNoticeIsBuiltFromLookedUpPieces();
    void everyControlFitsThePage();
    void renderScreenshot();

private:
    template <typename T>
    T* control(const char* name)
    {
        T* found = tab->findChild<T*>(name);
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    QString text(const char* name) { return control<QLabel>(name)->text(); }
    QString edit(const char* name) { return control<QLineEdit>(name)->text(); }
    void click(const char* button) { QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton); }
    void type(const char* name, const QString& value)
    {
        auto* field = control<QLineEdit>(name);
        field->clear();
        field->setFocus();
        bool ascii = true;
        for (QChar character : value)
            ascii = ascii && character.unicode() < 0x80;
        if (ascii)
            QTest::keyClicks(field, value);
        else
            field->insert(value); // key events carry Latin-1 only

    }
    // The CGI request lines the appliance received since the last clear.
    std::vector<std::string> commandsReceived();
    std::string state(const std::string& key) { return sim->get("/state/" + key); }

    std::unique_ptr<LoopbackAppliance> appliance;
    std::unique_ptr<SimControl> sim;
    std::unique_ptr<QTabWidget> frame;
    StatusTab* tab = nullptr;
    std::unique_ptr<StatusWindows> windows;
    std::unique_ptr<CommandClient> client;
    std::unique_ptr<CommandSender> sender;
    std::unique_ptr<RecordingNotifier> notifier;
};

void StatusTabTest::initTestCase()
{
    appliance = std::make_unique<LoopbackAppliance>("127.0.0.1");
    QVERIFY2(appliance->start(), appliance->error().c_str());
    sim = std::make_unique<SimControl>(appliance->control());
}

void StatusTabTest::init()
{
    sim->post("/reset-defaults");
    sim->post("/state/password", "admin");
    sim->post("/requests/clear");
    CurrentDevice = CurrentDeviceRecord{};
    CurrentDevice.Address = "127.0.0.1";
    CurrentDevice.UserName = "admin";
    CurrentDevice.Password = "admin";
    notifier = std::make_unique<RecordingNotifier>();

    frame = std::make_unique<QTabWidget>();
    frame->setFixedSize(587, 552);
    tab = new StatusTab;
    frame->addTab(tab, "Status");
    TranslateCaptions(tab);
    windows = std::make_unique<StatusWindows>(*tab);
    client = std::make_unique<CommandClient>([] { QCoreApplication::processEvents(); });
    sender = std::make_unique<CommandSender>(*client, *windows);
    tab->setCommandSender(sender.get());
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
}

void StatusTabTest::cleanup()
{
    frame.reset();
    tab = nullptr;
    sender.reset();
    client.reset();
    windows.reset();
    notifier.reset();
}

std::vector<std::string> StatusTabTest::commandsReceived()
{
    std::vector<std::string> lines;
    const int count = std::stoi(sim->get("/requests/count"));
    for (int i = 0; i < count; ++i) {
        const std::string request = sim->get("/requests/" + std::to_string(i));
        const std::string line = request.substr(0, request.find("\r\n"));
        if (line.find(".cgi?") != std::string::npos)
            lines.push_back(line);
    }
    return lines;
}

void StatusTabTest::controlsBeforeFirstRefresh()
{
    const struct {
        const char* name;
        int maxLength;
    } limits[] = {
        {"HostEdit", 15}, {"GroupEdit", 15}, {"AdminEdit", 15}, {"PassEdit", 12}, {"VerifyEdit", 12},
        {"YearEdit", 4}, {"MonthEdit", 2}, {"DataEdit", 2}, {"HourEdit", 2}, {"MinuteEdit", 2},
        {"SecondEdit", 2}, {"MantimeSEdit", 64},
    };
    for (const auto& limit : limits) {
        auto* field = control<QLineEdit>(limit.name);
        QCOMPARE(field->maxLength(), limit.maxLength);
        QVERIFY2(field->text().isEmpty(), limit.name);
    }
    QCOMPARE(tab->objectName(), QString("TabSheet1"));
    QVERIFY(!control<QLineEdit>("AdminEdit")->isEnabled());
    QCOMPARE(tab->passEdit()->echoMode(), QLineEdit::Password);
    QCOMPARE(tab->verifyEdit()->echoMode(), QLineEdit::Password);
    for (QLineEdit* edit : {tab->passEdit(), tab->verifyEdit()})
        QCOMPARE(edit->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, edit), int('*'));
    QCOMPARE(control<QLineEdit>("HostEdit")->echoMode(), QLineEdit::Normal);

    type("HostEdit", "ABCDEFGHIJKLMNOPQRST");
    QCOMPARE(edit("HostEdit"), QString("ABCDEFGHIJKLMNO"));
    type("YearEdit", "202612");
    QCOMPARE(edit("YearEdit"), QString("2026"));

    for (const char* name : {"SntpAutoRB", "SntpDisRB", "TimeSSelRB", "TimeSMakeRB", "DhcpsERB", "DhcpsDRB"})
        QVERIFY2(!control<QRadioButton>(name)->isChecked(), name);
    for (const char* name : {"CurrenttimeLB", "IPAddressLB", "MSCAddrLB", "DiskidLB", "FirmverLB", "TotalsizeLB",
                             "FreesizeLB"})
        QVERIFY2(text(name).isEmpty(), name);
    QVERIFY(!control<QComboBox>("TimeSSelCB")->isVisible());
    QVERIFY(!control<QLineEdit>("MantimeSEdit")->isVisible());
    QCOMPARE(control<QComboBox>("LangCB")->count(), 0);

    QStringList separators;
    for (const char* name : {"Label8", "Label9", "Label10", "Label11", "Label12"})
        separators << text(name);
    QCOMPARE(separators, QStringList({"/", "/", "-", ":", ":"}));

    auto* zones = control<QComboBox>("TimezoneCB");
    QCOMPARE(zones->count(), 25);
    QCOMPARE(zones->currentIndex(), -1);
    QCOMPARE(zones->itemText(0), QString("(GMT-12:00)Eniwetok, Kwajalein"));
    QCOMPARE(zones->itemText(12), QString("(GMT)Eniwetok, Kwajalein"));
    QCOMPARE(zones->itemText(24), QString("(GMT+12:00)Auckland, Fiji, Kamchatka"));
    auto* servers = control<QComboBox>("TimeSSelCB");
    QCOMPARE(servers->count(), 5);
    QCOMPARE(servers->currentIndex(), -1);
    QVERIFY(servers->isEditable());
    QVERIFY(control<QComboBox>("LangCB")->isEditable());

    // Checking one pair leaves the others alone.
    control<QRadioButton>("SntpAutoRB")->setChecked(true);
    control<QRadioButton>("DhcpsERB")->setChecked(true);
    QVERIFY(control<QRadioButton>("SntpAutoRB")->isChecked());
    QVERIFY(!control<QRadioButton>("TimeSSelRB")->isChecked() && !control<QRadioButton>("TimeSMakeRB")->isChecked());
}

void StatusTabTest::captionsComeFromTheLanguageFile()
{
    {
        const LanguageFile language("Set=Setzen\r\nHost Name=Rechnername\r\nMAC Address=MAC-Adresse\r\n"
                                    "Disk Information=Datentr\xC3\xA4ger\r\nManually Set Time Server=Eigener Zeitserver\r\n");
        TranslateCaptions(tab);
    }

    for (const char* name : {"identBtn", "adminBtn", "DatatimeBtn", "NetinfoBtn", "LangBtn"})
        QCOMPARE(control<QPushButton>(name)->text(), QString("Setzen"));
    QCOMPARE(text("Label1"), QString("Rechnername"));
    QCOMPARE(control<QGroupBox>("DiskinfoGB")->title(), QString::fromUtf8("Datentr\xC3\xA4ger"));
    QCOMPARE(control<QRadioButton>("TimeSMakeRB")->text(), QString("Eigener Zeitserver"));
    QCOMPARE(text("Label33"), QString("MAC Address")); // never looked up
    QCOMPARE(text("Label2"), QString("Group Name"));   // no entry: the English text
    QCOMPARE(control<QComboBox>("TimezoneCB")->itemText(13), QString("(GMT+01:00)Amsterdam,Vienna,Paris,Rom"));
}

void StatusTabTest::refreshShowsTheAppliance()
{
    sim->post("/state/free_size", "   52104 MB  ");
    sim->post("/state/total_size", " 76319 MB ");
    sim->post("/state/sntp_timeserver", "1");
    sim->post("/state/sntp_server", "ntp.example.net");
    sim->post("/state/sntp_zone", "-12");
    sim->post("/state/dhcps_option", "checked");
    type("PassEdit", "typed");

    tab->TabSheet1Show();

    QCOMPARE(edit("AdminEdit"), QString("admin"));
    QCOMPARE(edit("HostEdit"), QString::fromStdString(state("host_name")));
    QCOMPARE(edit("GroupEdit"), QString("WORKGROUP"));
    QCOMPARE(text("IPAddressLB"), QString("127.0.0.1"));
    QCOMPARE(text("MSCAddrLB"), QString::fromStdString(state("mac_addr")));
    QCOMPARE(text("FirmverLB"), QString::fromStdString(state("firm_ver")));
    QCOMPARE(text("DiskidLB"), QString::fromStdString(state("disk_id")));
    QCOMPARE(text("FreesizeLB"), QString("52104 MB"));
    QCOMPARE(text("TotalsizeLB"), QString(" 76319 MB "));
    QVERIFY(control<QRadioButton>("DhcpsERB")->isChecked());
    QVERIFY(control<QRadioButton>("SntpAutoRB")->isChecked());
    QVERIFY(control<QRadioButton>("TimeSMakeRB")->isChecked());
    QVERIFY(control<QLineEdit>("MantimeSEdit")->isVisible());
    QVERIFY(!control<QComboBox>("TimeSSelCB")->isVisible());
    QCOMPARE(edit("MantimeSEdit"), QString("ntp.example.net"));
    QCOMPARE(control<QComboBox>("TimeSSelCB")->currentIndex(), 0);
    QCOMPARE(control<QComboBox>("TimezoneCB")->currentIndex(), 0);
    QVERIFY(text("CurrenttimeLB").contains('/'));
    QCOMPARE(edit("YearEdit").size(), 4);
    QCOMPARE(edit("PassEdit"), QString("typed")); // the refresh leaves the new password alone
    QVERIFY(notifier->boxes.empty());

    auto* languages = control<QComboBox>("LangCB");
    QStringList names;
    for (int i = 0; i < languages->count(); ++i)
        names << languages->itemText(i);
    QCOMPARE(names.join('#').toStdString(), state("lang_list"));
    QCOMPARE(languages->currentIndex(), 0);
}

void StatusTabTest::refreshOfListedServerAndLanguage()
{
    sim->post("/state/sntp_timeserver", "0");
    sim->post("/state/sntp_server", DateTimeLogic::TimeServers[3]);
    sim->post("/state/sntp_zone", "12");
    sim->post("/state/lang_list", "English#Deutsch#Italiano");
    sim->post("/state/default_lang", "2");
    tab->TabSheet1Show();
    QVERIFY(control<QRadioButton>("TimeSSelRB")->isChecked());
    QVERIFY(control<QComboBox>("TimeSSelCB")->isVisible());
    QVERIFY(!control<QLineEdit>("MantimeSEdit")->isVisible());
    QCOMPARE(control<QComboBox>("TimeSSelCB")->currentText(), QString(DateTimeLogic::TimeServers[3]));
    QCOMPARE(control<QComboBox>("TimezoneCB")->currentIndex(), 24);
    QCOMPARE(control<QComboBox>("LangCB")->currentText(), QString("Italiano"));

    sim->post("/state/default_lang", "5");
    sim->post("/state/raw.sntp_zone", "east");
    tab->TabSheet1Show();
    QCOMPARE(control<QComboBox>("LangCB")->count(), 3);
    QCOMPARE(control<QComboBox>("LangCB")->currentIndex(), -1);
    QCOMPARE(control<QComboBox>("TimezoneCB")->currentIndex(), -1);
}

void StatusTabTest::unreadablePageGivesEmptyTab()
{
    tab->TabSheet1Show(); // first a full tab, so that emptying shows
    QVERIFY(!edit("HostEdit").isEmpty());
    CurrentDevice.Address = "127.0.0.2"; // nothing listens there
    tab->TabSheet1Show();
    QCOMPARE(notifier->boxes.size(), std::size_t(1));
    QCOMPARE(notifier->boxes[0].text, std::string("Connection Fail"));
    for (const char* name : {"HostEdit", "GroupEdit", "YearEdit", "MonthEdit", "DataEdit", "HourEdit",
                             "MinuteEdit", "SecondEdit", "MantimeSEdit"})
        QVERIFY2(edit(name).isEmpty(), name);
    for (const char* name : {"CurrenttimeLB", "IPAddressLB", "MSCAddrLB", "DiskidLB", "FirmverLB", "TotalsizeLB",
                             "FreesizeLB"})
        QVERIFY2(text(name).isEmpty(), name);
    QVERIFY(control<QRadioButton>("DhcpsDRB")->isChecked());
    QVERIFY(control<QRadioButton>("SntpDisRB")->isChecked());
    QVERIFY(control<QRadioButton>("TimeSMakeRB")->isChecked());
    QVERIFY(control<QLineEdit>("MantimeSEdit")->isVisible());
    QCOMPARE(control<QComboBox>("TimeSSelCB")->currentIndex(), 0);
    QCOMPARE(control<QComboBox>("TimezoneCB")->currentIndex(), 0);
    QCOMPARE(control<QComboBox>("LangCB")->count(), 1);
    QCOMPARE(control<QComboBox>("LangCB")->currentIndex(), 0);
    QCOMPARE(control<QComboBox>("LangCB")->itemText(0), QString());
    QCOMPARE(edit("AdminEdit"), QString("admin"));
}

void StatusTabTest::timeServerRadiosSwapInputs()
{
    sim->post("/state/sntp_timeserver", "1");
    sim->post("/state/sntp_server", "ntp.example.net");
    tab->TabSheet1Show();
    auto* list = control<QComboBox>("TimeSSelCB");
    auto* typed = control<QLineEdit>("MantimeSEdit");
    auto* listed = control<QRadioButton>("TimeSSelRB");
    // The indicator stays free to click while the input covers the caption.
    QTest::mouseClick(listed, Qt::LeftButton, {}, QPoint(6, listed->height() / 2));
    QVERIFY(listed->isChecked());
    QVERIFY(list->isVisible());
    QVERIFY(!typed->isVisible());
    QVERIFY(list->geometry().left() > 0);
    auto* manual = control<QRadioButton>("TimeSMakeRB");
    QTest::mouseClick(manual, Qt::LeftButton, {}, QPoint(6, manual->height() / 2));
    QVERIFY(manual->isChecked());
    QVERIFY(!list->isVisible());
    QVERIFY(typed->isVisible());
    QCOMPARE(typed->text(), QString("ntp.example.net")); // kept while hidden
}

void StatusTabTest::identificationChangesTheAppliance()
{
    tab->TabSheet1Show();
    type("HostEdit", "  Store-2_b ");
    type("GroupEdit", "OFFICE=1");
    click("identBtn");
    QCOMPARE(commandsReceived(),
             std::vector<std::string>{"GET /nas.cgi?redirect=id.htm&failure=fail.htm&type=cifs_config_apply&enable=1"
                                      "&hostname=Store-2_b&group_name=OFFICE=1 HTTP/1.0"});
    QCOMPARE(state("host_name"), std::string("Store-2_b"));
    QCOMPARE(state("group_name"), std::string("OFFICE=1"));
    QCOMPARE(windows->refreshed, std::vector<int>{0});
    QCOMPARE(edit("HostEdit"), QString("Store-2_b"));
    QVERIFY(notifier->boxes.empty());
}

void StatusTabTest::identificationRefusals_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("notice");
    QTest::addColumn<QString>("hostAfter");
    QTest::newRow("empty group") << "NAS" << "" << "Value is empty" << "NAS";
    QTest::newRow("digit first") << "7NAS" << "WG" << "First character cannot be a number (0~9)" << "7NAS";
    QTest::newRow("group digit first") << " NAS " << "1WG" << "First character cannot be a number (0~9)" << "NAS";
    QTest::newRow("only blanks") << "   " << "WG" << "Value is empty" << "";
    QTest::newRow("blank inside") << " my nas " << "WG" << "Invalid value  Host Name my nas" << "my nas";
    QTest::newRow("last character") << "nas!" << "WG" << "Invalid value !Host Name nas!" << "nas!";
    QTest::newRow("above ASCII") << QString::fromUtf8("nas\xE2\x82\xAC") << "WG"
                                 << QString::fromUtf8("Invalid value \xE2\x82\xACHost Name nas\xE2\x82\xAC")
                                 << QString::fromUtf8("nas\xE2\x82\xAC");
    // A character the code page lacks arrives as "?", and the trimmed text written back shows that.
    QTest::newRow("outside the code page") << QString::fromUtf8("nas\xC5\x82") << "WG"
                                           << "Invalid value ?Host Name nas?" << "nas?";
    QTest::newRow("group dot") << "NAS" << " a.b" << "Invalid value .Group Name a.b" << "NAS";
}

void StatusTabTest::identificationRefusals()
{
    QFETCH(QString, host);
    QFETCH(QString, group);
    QFETCH(QString, notice);
    QFETCH(QString, hostAfter);
    type("HostEdit", host);
    type("GroupEdit", group);
    click("identBtn");
    QCOMPARE(notifier->boxes.size(), std::size_t(1));
    QCOMPARE(ToQString(notifier->boxes[0].text), notice);
    QCOMPARE(notifier->boxes[0].caption, std::string("Identification"));
    QCOMPARE(edit("HostEdit"), hostAfter);
    QVERIFY(commandsReceived().empty());
}

void StatusTabTest::dhcpServerSwitch()
{
    tab->TabSheet1Show();
    QVERIFY(control<QRadioButton>("DhcpsDRB")->isChecked());
    QTest::mouseClick(control<QRadioButton>("DhcpsERB"), Qt::LeftButton);
    click("NetinfoBtn");
    QCOMPARE(commandsReceived(),
             std::vector<std::string>{"GET /dhcps.cgi?redirect=status.htm&failure=fail.htm&type=dhcps_apply"
                                      "&R_dhcps=ENABLE&TF_wins=&TF_ippoolmin=2&TF_ippoolmax=254&TF_lease_day=1"
                                      "&TF_lease_hr=0&TF_lease_min=0 HTTP/1.0"});
    QCOMPARE(state("dhcps_option"), std::string("checked"));
    QVERIFY(control<QRadioButton>("DhcpsERB")->isChecked());
    QCOMPARE(windows->refreshed, std::vector<int>{0});
}

void StatusTabTest::languageThenRestartNotice()
{
    tab->TabSheet1Show();
    control<QComboBox>("LangCB")->setCurrentIndex(3);
    click("LangBtn");
    QCOMPARE(commandsReceived(), std::vector<std::string>{"GET /nas.cgi?redirect=status.htm&failure=fail.htm"
                                                          "&type=nas_lang_apply&lang=3 HTTP/1.0"});
    QCOMPARE(state("default_lang"), std::string("3"));
    QCOMPARE(control<QComboBox>("LangCB")->currentIndex(), 3);
    QCOMPARE(notifier->boxes.size(), std::size_t(1));
    QCOMPARE(notifier->boxes[0].text, std::string("Please restart system to apply changes!"));
    QCOMPARE(notifier->boxes[0].caption, std::string("Language"));
    QVERIFY(notifier->boxes[0].icon == MessageIcon::Question);
}

void StatusTabTest::dateTimeWithListedServer()
{
    tab->TabSheet1Show();
    QTest::mouseClick(control<QRadioButton>("TimeSSelRB"), Qt::LeftButton, {}, QPoint(6, 8));
    control<QComboBox>("TimeSSelCB")->setCurrentIndex(1);
    control<QComboBox>("TimezoneCB")->setCurrentIndex(13);
    QTest::mouseClick(control<QRadioButton>("SntpDisRB"), Qt::LeftButton);
    type("YearEdit", "2027");
    type("MonthEdit", "3");
    type("DataEdit", "04");
    type("HourEdit", "05");
    type("MinuteEdit", "06");
    type("SecondEdit", "07");
    click("DatatimeBtn");
    QCOMPARE(commandsReceived(),
             std::vector<std::string>{"GET /man.cgi?redirect=sys_sntp.htm&failure=fail.htm&type=sntp_apply"
                                      "&sntp_time=&day0=2027&day1=3&day2=04&time0=05&time1=06&time2=07"
                                      "&R_sntp=DISABLE&R_sntp_server=0&Sntp_ip=europe.pool.ntp.org"
                                      "&sntp_input=time.example.net&sntp_timezone=1 HTTP/1.0"});
    QCOMPARE(state("sntp_server"), std::string("europe.pool.ntp.org"));
    QCOMPARE(state("sntp_zone"), std::string("1"));
    QCOMPARE(state("sntp_auto"), std::string());
    QVERIFY(notifier->boxes.empty());
    // The refresh shows the appliance's new settings.
    QCOMPARE(control<QComboBox>("TimezoneCB")->currentIndex(), 13);
    QVERIFY(control<QRadioButton>("TimeSSelRB")->isChecked());
    QVERIFY(control<QRadioButton>("SntpDisRB")->isChecked());
    QCOMPARE(edit("YearEdit"), QString("2027"));
    QVERIFY(text("CurrenttimeLB").startsWith("2027/03/04"));
}

void StatusTabTest::emptyTypedServerWarnsAndStillSends()
{
    tab->TabSheet1Show();
    QVERIFY(control<QRadioButton>("TimeSMakeRB")->isChecked());
    control<QLineEdit>("MantimeSEdit")->clear();
    click("DatatimeBtn");
    QCOMPARE(notifier->boxes.size(), std::size_t(2));
    QCOMPARE(notifier->boxes[0].text, std::string("Time server is empty"));
    QCOMPARE(notifier->boxes[0].caption, std::string("Date and Time"));
    QCOMPARE(notifier->boxes[1].text, std::string("The device refused the change."));
    QCOMPARE(notifier->boxes[1].caption, std::string("Date and Time"));
    const auto commands = commandsReceived();
    QCOMPARE(commands.size(), std::size_t(1));
    QVERIFY(commands[0].find("&R_sntp_server=1&Sntp_ip=pool.ntp.org&sntp_input=&sntp_timezone=0 ")
            != std::string::npos);
    QCOMPARE(state("sntp_server"), std::string("time.example.net")); // the appliance refused it
}

void StatusTabTest::passwordMismatchKeepsWindow()
{
    QSignalSpy enabled(tab, &StatusTab::managementEnabledRequested);
    QSignalSpy login(tab, &StatusTab::loginWindowRequested);
    type("PassEdit", "Secret");
    type("VerifyEdit", "secret");
    click("adminBtn");
    type("VerifyEdit", "");
    click("adminBtn");
    QCOMPARE(notifier->boxes.size(), std::size_t(2));
    QCOMPARE(notifier->boxes[0].text, std::string("New password entries do not match!"));
    QCOMPARE(notifier->boxes[1].text, std::string("Password cannot be empty!"));
    QCOMPARE(notifier->boxes[1].caption, std::string("Administration"));
    QCOMPARE(enabled.count(), 2);
    QCOMPARE(enabled.at(0).at(0).toBool(), true);
    QCOMPARE(login.count(), 0);
    QVERIFY(commandsReceived().empty());
}

void StatusTabTest::passwordChangeHandsOverToLogin()
{
    QSignalSpy enabled(tab, &StatusTab::managementEnabledRequested);
    QSignalSpy login(tab, &StatusTab::loginWindowRequested);
    type("PassEdit", "new pw&1");
    type("VerifyEdit", "new pw&1");
    click("adminBtn");
    QCOMPARE(commandsReceived(), std::vector<std::string>{"GET /man.cgi?redirect=sys_auth.htm&failure=fail.htm"
                                                          "&type=auth_apply&TF_password=new+pw%261"
                                                          "&TF_passwordl=new+pw%261 HTTP/1.0"});
    QCOMPARE(state("password"), std::string("new pw&1"));
    QCOMPARE(CurrentDevice.Password, std::string("new pw&1"));
    QCOMPARE(enabled.count(), 1);
    QCOMPARE(enabled.at(0).at(0).toBool(), false);
    QCOMPARE(login.count(), 1);
}

void StatusTabTest::unreachableApplianceIsToldOnce()
{
    tab->TabSheet1Show();
    VanishingTransport transport;
    CommandSender vanishing(transport, *windows);
    tab->setCommandSender(&vanishing);
    windows->refreshed.clear();

    click("NetinfoBtn");
    QCOMPARE(transport.urls.size(), std::size_t(1));
    QCOMPARE(notifier->boxes.size(), std::size_t(1));
    QCOMPARE(notifier->boxes.back().text, std::string("Connection Fail"));
    QVERIFY(windows->refreshed.empty());

    transport.urls.clear();
    notifier->boxes.clear();
    click("LangBtn");
    QCOMPARE(transport.urls.size(), std::size_t(1));
    QCOMPARE(notifier->boxes.size(), std::size_t(2));
    QCOMPARE(notifier->boxes.back().text, std::string("Please restart system to apply changes!"));
    QVERIFY(windows->refreshed.empty());
}

void StatusTabTest::longValuesAreShownAndSentWhole()
{
    // The fields' limits hold for typing only: a longer value from the
    // appliance is shown whole and goes back whole.
    const std::string host = "ABCDEFGHIJKLMNOPQRST";
    sim->post("/state/host_name", host);
    sim->post("/state/disk_id", "<b>DISK</b> 1");
    tab->TabSheet1Show();
    QCOMPARE(edit("HostEdit"), ToQString(host));
    QCOMPARE(control<QLabel>("DiskidLB")->textFormat(), Qt::PlainText);
    click("identBtn");
    QCOMPARE(state("host_name"), host);

    auto* field = control<QLineEdit>("HostEdit");
    field->clear();
    QTest::keyClicks(field, QString(30, 'x'));
    QCOMPARE(field->text(), QString(15, 'x'));
}

void StatusTabTest::typedTextInTheServerListIsNotSent()
{
    sim->post("/state/sntp_timeserver", "0");
    sim->post("/state/sntp_server", DateTimeLogic::TimeServers[4]);
    tab->TabSheet1Show();
    auto* list = control<QComboBox>("TimeSSelCB");
    list->lineEdit()->clear();
    QTest::keyClicks(list->lineEdit(), "ntp.typed.example");
    click("DatatimeBtn");
    const auto commands = commandsReceived();
    QCOMPARE(commands.size(), std::size_t(1));
    QVERIFY2(commands[0].find("&Sntp_ip=time.nist.gov&") != std::string::npos, commands[0].c_str());
}

void StatusTabTest::refusedNameNoticeIsBuiltFromLookedUpPieces()
{
    {
        const LanguageFile language("Invalid value =Ung\xC3\xBCltig: \r\nHost Name=Rechnername\r\n"
                                    "Identification=Kennung\r\n");
        type("HostEdit", "nas!");
        type("GroupEdit", "WG");
        click("identBtn");
    }
    QCOMPARE(notifier->boxes.size(), std::size_t(1));
    QCOMPARE(ToQString(notifier->boxes[0].text), QString::fromUtf8("Ung\xC3\xBCltig: !Rechnername nas!"));
    QCOMPARE(notifier->boxes[0].caption, std::string("Kennung"));
}

// Nothing clipped, nothing overlapping, in the management window's page size, in English and with a
// language file whose captions are longer.
void StatusTabTest::everyControlFitsThePage()
{
    sim->post("/state/sntp_timeserver", "0");
    sim->post("/state/sntp_server", "north-america.pool.ntp.org");
    sim->post("/state/sntp_zone", "8");
    tab->TabSheet1Show();
    const std::set<std::pair<QString, QString>> covers{{"TimeSSelRB", "TimeSSelCB"}, {"TimeSMakeRB", "MantimeSEdit"}};
    QString problems = LayoutProblems(*tab, covers);
    QVERIFY2(problems.isEmpty(), qPrintable(problems));

    QTemporaryDir folder;
    QFile file(folder.filePath("language"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Host Name=Nom de l'h\xC3\xB4te\r\nGroup Name=Groupe de travail\r\nVerify Password=Confirmer le mot\r\n"
               "Manually Set Time Server=Serveur de temps manuel\r\nFirmware Version=Version du micrologiciel\r\n");
    file.close();
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder.path()));
    CurrentDevice.TranslationOn = 1;
    TranslateCaptions(tab);
    CurrentDevice.TranslationOn = 0;
    QDir::setCurrent(previous);
    QCoreApplication::processEvents();
    problems = LayoutProblems(*tab, covers);
    QVERIFY2(problems.isEmpty(), qPrintable(problems));
}

// With Q70_SCREENSHOT set, saves the filled tab in its window frame there.
void StatusTabTest::renderScreenshot()
{
    const QByteArray path = qgetenv("Q70_SCREENSHOT");
    if (path.isEmpty())
        QSKIP("Q70_SCREENSHOT not set");
    sim->post("/state/sntp_timeserver", "0");
    sim->post("/state/sntp_server", "pool.ntp.org");
    tab->TabSheet1Show();
    QVERIFY(frame->grab().save(QString::fromLocal8Bit(path)));
}

QTEST_MAIN(StatusTabTest)
#include "StatusTab.moc"
