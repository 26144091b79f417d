#include "ui/Menuform/TForm2.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>

#include "app/CurrentDevice.h"
#include "app/LocalizeText.h"
#include "platform/Clock.h"
#include "ui/Application/AnsiText.h"
#include "ui/Application/BusyWait.h"
#include "ui/Application/Forms.h"
#include "ui/Application/KeyboardUse.h"
#include "ui/Application/WindowSetup.h"
#include "ui/Application/WindowText.h"
#include "ui/Menuform/DiskTab.h"
#include "ui/Menuform/FileServerTab.h"
#include "ui/Menuform/FtpServerTab.h"
#include "ui/Menuform/IPConfigTab.h"
#include "ui/Menuform/MaintenanceTab.h"
#include "ui/Menuform/ModifyFtpTab.h"
#include "ui/Menuform/PageControl.h"
#include "ui/Menuform/StatusTab.h"
#include "ui/Menuform/TabPaintLogic.h"
#include "ui_TForm2.h"

namespace {

QColor ToColor(const TabPaintLogic::Rgb& rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

QFont TabFont()
{
    // Systems without it substitute their own sans-serif face.
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(13);
    return font;
}

} // namespace

TForm2::TForm2(QWidget* parent)
    : QWidget(parent),
      ui_(new Ui::TForm2),
      NMHTTP1([] { QCoreApplication::processEvents(); }),
      sender(NMHTTP1, *this)
{
    ui_->setupUi(this);
    UsePlainText(this);
    PageControl1 = ui_->PageControl1;
    status = ui_->TabSheet1;
    TabSheet1 = status;
    ipConfig = ui_->TabSheet2;
    TabSheet2 = ipConfig;
    maintenance = ui_->TabSheet3;
    TabSheet3 = maintenance;
    TabSheet4 = ui_->TabSheet4;
    TabSheet5 = ui_->TabSheet5;
    TabSheet6 = ui_->TabSheet6;
    TabSheet7 = ui_->TabSheet7;

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(1000);
    Timer2 = new QTimer(this);
    Timer2->setObjectName("Timer2");
    Timer2->setInterval(1000);

    SetUpFixedWindow(*this, 587, 552);

    PageControl1->pageTabBar()->setFont(TabFont());
    PageControl1->pageTabBar()->setDrawTab(
        [this](QPainter& painter, int position, const QRect& rect, bool active) {
            PageControl1DrawTab(painter, position, rect, active);
        });
    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm2::tabSelectedByUser);

    PressButtonsOnEnter(*this);

    CurrentDevice.CommandPauseMs = 20;
    TranslateCaptions(this);
    syncPageControl();

    pageByNumber[0] = status;
    pageByNumber[1] = ipConfig;
    pageByNumber[2] = maintenance;
    pageByNumber[3] = ui_->TabSheet4;
    pageByNumber[4] = ui_->TabSheet5;
    pageByNumber[5] = ui_->TabSheet6;
    pageByNumber[6] = ui_->TabSheet7;
    ui_->TabSheet7->setScanTimer(Timer2);
    for (ManagementPage* page : pageByNumber)
        if (page)
            page->setCommandSender(&sender);
    connect(status, &StatusTab::managementEnabledRequested, this, &QWidget::setEnabled);
    connect(status, &StatusTab::loginWindowRequested, this, [] { ShowLoginWindow(); });
    connect(ipConfig, &IPConfigTab::discoveryRequested, this, &TForm2::LeaveForDiscoverySearch);
    maintenance->setProgressTimer(Timer1);
    connect(ui_->TabSheet5, &FtpServerTab::accountFolderModeLeft, this, &TForm2::LeaveAccountFolderMode);
    connect(ui_->TabSheet5, &FtpServerTab::accountFolderModeEntered, this, &TForm2::EnterAccountFolderMode);
    connect(ui_->TabSheet6, &ModifyFtpTab::accountFolderModeKept, this, &TForm2::KeepAccountFolderMode);
    connect(ui_->TabSheet6, &ModifyFtpTab::backRequested, this, &TForm2::BackToFtpServerPage);
    connect(maintenance, &MaintenanceTab::restartWaitedOut, this, [this] {
        HideManagementWindow();
        ShowDiscoveryAndSearch();
    });
}

FileServerTab* TForm2::fileServerTab() const { return ui_->TabSheet4; }

TForm2::~TForm2() = default;

void TForm2::OpenOnFirstPage()
{
    SelectPage(0);
    status->passEdit()->clear();
    status->verifyEdit()->clear();
    show();
    raise();
    activateWindow();
}

void TForm2::SelectPage(int page)
{
    const auto due = pages.SelectPage(page);
    syncPageControl();
    runShowHandlers(due);
}

void TForm2::EnterAccountFolderMode()
{
    const auto due = pages.EnterAccountFolderMode();
    syncPageControl();
    runShowHandlers(due);
}

void TForm2::LeaveAccountFolderMode()
{
    const auto due = pages.LeaveAccountFolderMode();
    syncPageControl();
    runShowHandlers(due);
}

void TForm2::KeepAccountFolderMode()
{
    pages.SetTabShown(PageVisibilityLogic::ModifyFtpPage, true);
    pages.SetPageVisible(PageVisibilityLogic::FtpServerPage, false);
    syncPageControl();
}

void TForm2::BackToFtpServerPage()
{
    auto due = pages.SelectPage(PageVisibilityLogic::FtpServerPage);
    syncPageControl();
    runShowHandlers(due);
    LeaveAccountFolderMode();
    // Read once more, whether or not it was read as it came to the front.
    RefreshPage(PageVisibilityLogic::FtpServerPage);
}

FtpServerTab* TForm2::ftpServerTab() const { return ui_->TabSheet5; }

ModifyFtpTab* TForm2::modifyFtpTab() const { return ui_->TabSheet6; }

void TForm2::FormShow()
{
    setWindowTitle(ToQString(LocalizeText("Management") + " " + CurrentDevice.Address));
    pages.SetTabShown(0, true);
    pages.SetTabShown(PageVisibilityLogic::ModifyFtpPage, false);
    syncPageControl();
    Timer1->stop();
    runShowHandlers(pages.WindowShown());
}

void TForm2::FormClose()
{
    Timer2->stop();
    hide();
    ShowLoginWindow();
    const auto due = pages.LeaveAccountFolderMode();
    syncPageControl();
    runShowHandlers(due);
}

void TForm2::PageControl1Change()
{
    SleepMs(CurrentDevice.CommandPauseMs);
    const auto due = pages.LeaveAccountFolderMode();
    syncPageControl();
    runShowHandlers(due);
}

void TForm2::tabSelectedByUser(int index)
{
    if (syncing)
        return;
    runShowHandlers(pages.SelectPage(index));
    PageControl1Change();
}

void TForm2::syncPageControl()
{
    // Programmatic changes of the tab control are not the user's change of tab.
    syncing = true;
    for (int page = 0; page < PageCount; ++page)
        PageControl1->setTabVisible(page, pages.TabShown(page));
    PageControl1->setCurrentIndex(pages.Selected());
    syncing = false;
}

void TForm2::runShowHandlers(const PageVisibilityLogic::ShowHandlers& due)
{
    for (int page : due)
        RefreshPage(page);
}

void TForm2::PageControl1DrawTab(QPainter& painter, int position, const QRect& rect, bool active)
{
    if (position == 0)
        painted.clear();
    const int page = TabPaintLogic::CaptionPage(position, PageControl1->pageTabBar()->tabsShown());
    if (page < 0 || page >= PageCount)
        return;
    const QString caption = PageControl1->tabText(page);
    painted.append(caption);

    const QColor face = palette().color(QPalette::Button);
    const auto colours = TabPaintLogic::TabColours(active, {face.red(), face.green(), face.blue()});
    painter.fillRect(rect, ToColor(colours.fill));
    painter.setPen(ToColor(colours.text));
    const QFont font = PageControl1->pageTabBar()->font();
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const auto origin = TabPaintLogic::CentredTextOrigin(rect.left(), rect.top(), rect.width(), rect.height(),
                                                         metrics.horizontalAdvance(caption), metrics.height());
    painter.drawText(QPoint(origin.x, origin.y + metrics.ascent()), caption);
}

int TForm2::ActiveTabIndex() { return PageControl1->currentIndex(); }

void TForm2::RefreshPage(int pageNumber)
{
    if (!IsPageNumber(pageNumber) || !pageByNumber[pageNumber])
        return;
    const BusyWait reading;
    pageByNumber[pageNumber]->ShowPage();
}

std::string TForm2::NewPasswordText() { return ToAnsi(status->passEdit()->text()); }

bool TForm2::AutomaticIPChosen() { return ipConfig->automaticChosen(); }

std::string TForm2::IPAddressText() { return ipConfig->ipAddressText(); }

// The appliance moved out of every local subnet: through the login window
// back to the discovery window, with a new search running.
void TForm2::LeaveForDiscoverySearch()
{
    close();
    ::ShowDiscoveryAndSearch();
    CloseLoginWindow();
}

void TForm2::HideManagementWindow() { hide(); }

void TForm2::ShowDiscoveryAndSearch() { ::ShowDiscoveryAndSearch(); }

void TForm2::setVisible(bool visible)
{
    // The pages are finished before their first layout on screen.
    if (visible)
        for (ManagementPage* page : pageByNumber)
            if (page)
                page->FinishBuilding();
    QWidget::setVisible(visible);
}

void TForm2::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm2::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        pages.WindowClosed();
}

void TForm2::closeEvent(QCloseEvent* event)
{
    event->accept();
    FormClose();
}
