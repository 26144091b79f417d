#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/CurrentDevice.h"
#include "platform/Clock.h"
#include "support/LanguageFile.h"
#include "support/ProgramWindows.h"
#include "support/RecordingNotifier.h"
#include "support/ScriptedPageServer.h"
#include "ui/Application/Forms.h"
#include "ui/Logindisk/TForm4.h"
#include "ui/Mainform/TForm1.h"
#include "ui/Menuform/IPConfigTabLogic.h"
#include "ui/Menuform/PageControl.h"
#include "ui/Menuform/StatusTab.h"
#include "ui/Menuform/TForm2.h"

namespace {

const std::string StatusPage = "<HTML>\r\nvar host_name=\"NAS-ONE\";\r\nvar ip_addr=\"127.0.0.1\";\r\n</HTML>";

const QStringList SixCaptions{"Status", "IP Config", "Maintenance", "File Server", "FTP Server", "Disk Utility"};

int RequestsDuring(ScriptedPageServer& server, const std::function<void()>& action)
{
    const int before = server.requestCount();
    action();
    return server.requestCount() - before;
}

void ClickTab(TForm2& window, int index)
{
    QTabBar* bar = window.PageControl1->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

QColor Pixel(const QImage& image, const QRect& rect, int dx, int dy)
{
    return image.pixelColor(rect.left() + dx, rect.top() + dy);
}

// Whether any pixel of the rectangle has the colour (the caption's ink).
bool HasInk(const QImage& image, const QRect& rect, const QColor& colour)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

} // namespace

class ManagementWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramWindowsFixture> program;

private slots:
    void initTestCase()
    {
        CurrentDevice.CommandPauseMs = 0; // the window's construction sets it again
        program = std::make_unique<ProgramWindowsFixture>(
            [](const std::string&) { return ScriptedPageServer::Answer(200, "OK", StatusPage); });
    }

    void cleanupTestCase()
    {
        program.reset();
    }

    void init()
    {
        program->notifier.boxes.clear();
        Form2->setEnabled(true);
        Form2->OpenOnFirstPage();
        QVERIFY(QTest::qWaitForWindowExposed(Form2));
    }

    void cleanup() { Form2->hide(); }

    void frameAndPages()
    {
        QCOMPARE(CurrentDevice.CommandPauseMs, 20);
        CurrentDevice.CommandPauseMs = 0;
        QCOMPARE(Form2->size(), QSize(587, 552));
        QCOMPARE(Form2->minimumSize(), Form2->maximumSize());
        QCOMPARE(Form2->PageControl1->objectName(), QString("PageControl1"));
        const QStringList captions{"Status", "IP Config", "Maintenance", "File Server", "FTP Server", "Modify FTP",
                                   "Disk Utility"};
        QCOMPARE(Form2->PageControl1->count(), 7);
        for (int page = 0; page < 7; ++page) {
            QCOMPARE(Form2->PageControl1->widget(page)->objectName(), QString("TabSheet%1").arg(page + 1));
            QCOMPARE(Form2->PageControl1->tabText(page), captions[page]);
        }
        QCOMPARE(Form2->PageControl1->widget(0), static_cast<QWidget*>(Form2->statusTab()));
        // Drop-down lists with an edit part, showing the selected entry.
        for (const char* name : {"TimeSSelCB", "TimezoneCB", "LangCB"}) {
            auto* list = Form2->statusTab()->findChild<QComboBox*>(name);
            QVERIFY2(list && list->isEditable() && list->lineEdit(), name);
            QCOMPARE(list->lineEdit()->text(), list->currentText());
        }
        QCOMPARE(Form2->statusTab()->findChild<QComboBox*>("TimezoneCB")->currentText(),
                 QString("(GMT-12:00)Eniwetok, Kwajalein"));
        QCOMPARE(Form2->Timer1->interval(), 1000);
        QVERIFY(!Form2->Timer1->isActive());
        QVERIFY(!Form2->Timer2->isActive());
    }

    void openingShowsStatusOfTheAddressAndReadsIt()
    {
        Form2->hide();
        Form2->SelectPage(2);
        CurrentDevice.Address = "127.0.0.1";
        QCOMPARE(RequestsDuring(*program->server, [] { Form2->OpenOnFirstPage(); }), 1);
        QCOMPARE(Form2->windowTitle(), QString("Management 127.0.0.1"));
        QCOMPARE(Form2->PageControl1->currentIndex(), 0);
        QVERIFY(!Form2->PageControl1->isTabVisible(5));
        QVERIFY(program->notifier.boxes.empty());
    }

    void sixTabsArePaintedWhileModifyFtpIsHidden()
    {
        QTabBar* bar = Form2->PageControl1->tabBar();
        const QImage image = bar->grab().toImage();
        QCOMPARE(Form2->paintedTabCaptions(), SixCaptions);

        const QColor face = Form2->palette().color(QPalette::Button);
        const QColor grey(128, 128, 128);
        QVERIFY(face != grey);
        QCOMPARE(Pixel(image, bar->tabRect(0), 1, 1), face);
        QVERIFY(HasInk(image, bar->tabRect(0), Qt::black));
        for (int index : {1, 2, 3, 4, 6}) {
            const QRect rect = bar->tabRect(index);
            QCOMPARE(Pixel(image, rect, 1, 1), grey);
            QCOMPARE(Pixel(image, rect, rect.width() - 2, rect.height() - 2), grey);
            QVERIFY2(HasInk(image, rect, face), qPrintable(QString::number(index)));
            QVERIFY(!HasInk(image, rect, Qt::black));
        }
        QCOMPARE(bar->font().pixelSize(), 13);
    }

    void changingTabsRefreshesOnlyWhatBecomesVisible()
    {
        // The IP Config page reads the appliance; this one names no address,
        // so the page tries again, a bounded number of times. The FTP Server
        // page, made visible behind it, reads it once.
        QCOMPARE(RequestsDuring(*program->server, [] { ClickTab(*Form2, 1); }), 2 + IPConfigTabLogic::MostRefreshRepeats);
        QCOMPARE(Form2->PageControl1->currentIndex(), 1);
        QCOMPARE(RequestsDuring(*program->server, [] { ClickTab(*Form2, 2); }), 0); // Maintenance reads nothing
        QVERIFY(Form2->pageState().PageVisible(4));
        // Coming back to Status reads the appliance again.
        QCOMPARE(RequestsDuring(*program->server, [] { ClickTab(*Form2, 0); }), 1);
        QCOMPARE(Form2->PageControl1->currentIndex(), 0);
    }

    void changingTabsWaitsTheCommandPause()
    {
        CurrentDevice.CommandPauseMs = 120;
        const auto started = MonotonicMs();
        ClickTab(*Form2, 2);
        const auto took = MonotonicMs() - started;
        CurrentDevice.CommandPauseMs = 0;
        QVERIFY2(took >= 120, qPrintable(QString::number(took)));
    }

    void leavingModifyFtpHidesItsTab()
    {
        ClickTab(*Form2, 4);
        Form2->EnterAccountFolderMode();
        QVERIFY(Form2->PageControl1->isTabVisible(5));
        QCOMPARE(Form2->PageControl1->currentIndex(), 5);
        Form2->PageControl1->tabBar()->grab();
        QCOMPARE(Form2->paintedTabCaptions().size(), 7);
        QCOMPARE(Form2->paintedTabCaptions()[5], QString("Modify FTP"));

        ClickTab(*Form2, 6);
        QVERIFY(!Form2->PageControl1->isTabVisible(5));
        QCOMPARE(Form2->PageControl1->currentIndex(), 6);
        QVERIFY(Form2->pageState().PageVisible(4));
        Form2->PageControl1->tabBar()->grab();
        QCOMPARE(Form2->paintedTabCaptions(), SixCaptions);
    }

    void theSenderSeesTheWindows()
    {
        ClickTab(*Form2, 6);
        // The hidden "Modify FTP" page still counts.
        QCOMPARE(Form2->ActiveTabIndex(), 6);
        Form2->statusTab()->passEdit()->setText("n3w");
        QCOMPARE(Form2->NewPasswordText(), std::string("n3w"));
        QVERIFY(!Form2->AutomaticIPChosen());
        QCOMPARE(Form2->IPAddressText(), std::string());
        QCOMPARE(RequestsDuring(*program->server, [] { Form2->RefreshPage(1); }), 1 + IPConfigTabLogic::MostRefreshRepeats);
        for (int page : {0, 3, 4, 5, 6})
            QCOMPARE(RequestsDuring(*program->server, [page] { Form2->RefreshPage(page); }), 1);
        for (int page : {2, 7, -1})
            QCOMPARE(RequestsDuring(*program->server, [page] { Form2->RefreshPage(page); }), 0);

        Form1->hide();
        Form2->HideManagementWindow();
        QVERIFY(!Form2->isVisible());
        Form2->ShowDiscoveryAndSearch();
        QVERIFY(Form1->isVisible());
        QVERIFY(Form1->Timer1->isActive());
        Form1->Timer1->stop();
        Form1->hide();
    }

    void statusPageRequestsReachTheWindows()
    {
        Form4->hide();
        emit Form2->statusTab()->managementEnabledRequested(false);
        QVERIFY(!Form2->isEnabled());
        emit Form2->statusTab()->loginWindowRequested();
        QVERIFY(Form4->isVisible());
        // The login window's show enables the management window again.
        QVERIFY(Form2->isEnabled());
        Form4->hide();
    }

    void closingStopsTheScanRefreshAndReturnsToLogin()
    {
        ClickTab(*Form2, 4);
        Form2->EnterAccountFolderMode();
        Form4->hide();
        Form2->Timer2->start(30000);
        Form2->close();
        QVERIFY(!Form2->Timer2->isActive());
        QVERIFY(!Form2->isVisible());
        QVERIFY(Form4->isVisible());
        QVERIFY(!Form2->PageControl1->isTabVisible(5));
        QVERIFY(Form2->pageState().PageVisible(4));
        Form4->hide();
    }

    void aLanguageEntryForSetChangesEverySetButton()
    {
        const LanguageFile language("Status=Zustand\r\nSet=Setzen\r\nManagement=Verwaltung\r\n");
        TForm2 translated;
        const QStringList setButtons{"identBtn", "adminBtn", "DatatimeBtn", "NetinfoBtn", "LangBtn"};
        for (const QString& name : setButtons) {
            auto* button = translated.findChild<QPushButton*>(name);
            QVERIFY2(button, qPrintable(name));
            QCOMPARE(button->text(), QString("Setzen"));
        }
        QCOMPARE(translated.PageControl1->tabText(0), QString("Zustand"));
        QCOMPARE(translated.PageControl1->tabText(1), QString("IP Config"));
        translated.show();
        QCOMPARE(translated.windowTitle(), QString("Verwaltung 127.0.0.1"));
        translated.hide();
        CurrentDevice.CommandPauseMs = 0;
    }
};

QTEST_MAIN(ManagementWindowTest)
#include "ManagementWindow.moc"
