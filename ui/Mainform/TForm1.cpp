#include "ui/Mainform/TForm1.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "ui_TForm1.h"
#include "app/CurrentDevice.h"
#include "app/LocalizeText.h"
#include "app/Notifier.h"
#include "discovery/SearchProgress.h"
#include "discovery/SubnetCheck.h"
#include "platform/UdpEndpoint.h"
#include "ui/Application/AnsiText.h"
#include "ui/Application/Forms.h"
#include "ui/Application/KeyboardUse.h"
#include "ui/Application/WindowSetup.h"
#include "ui/Application/WindowText.h"
#include "ui/Mainform/GridLineDelegate.h"

namespace {

const char* const VersionText = Q70_VERSION;

struct Column {
    const char* caption;
    int width;
};
constexpr Column Columns[] = {{"IP Address", 88}, {"Disk Name", 110}, {"Group Name", 110}, {"Firmware Version", 120}};

// What a user can act on, in place of the system's words for the socket error.
const char* const PortTakenText =
    "UDP port 14675, which the search for appliances needs, is taken by another program or by another "
    "copy of this utility. Close that program or copy, then start this utility again.";
const char* const SearchNotSentText =
    "The search could not be sent: this computer has no network connection up. Connect it to the "
    "network of your appliances, then search again.";

// Ends the process at once: no other window is asked to close.
void EndProcessNow(int exitCode)
{
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

} // namespace

std::function<void(int)> TForm1::EndProcess = EndProcessNow;

TForm1::TForm1(QWidget* parent) : QWidget(parent), ui_(new Ui::TForm1)
{
    // Every lookup below already reads the language file.
    CurrentDevice.TranslationOn = 1;

    ui_->setupUi(this);
    UsePlainText(this);
    ProgressBar1 = ui_->ProgressBar1;
    HDListView = ui_->HDListView;
    ScanBtn = ui_->ScanBtn;
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(SearchTickIntervalMs);
    Timer1->stop();

    SetUpFixedWindow(*this, 468, 292, true);
    ProgressBar1->setRange(SearchProgressMinimum, SearchProgressMaximum);
    ProgressBar1->setValue(SearchProgressMinimum);
    HDListView->setItemDelegate(new GridLineDelegate(HDListView));
    HDListView->header()->setStretchLastSection(false);
    HDListView->header()->setSectionsMovable(false);
    HDListView->header()->setSectionResizeMode(QHeaderView::Fixed);
    HDListView->setSortingEnabled(false);
    HDListView->viewport()->installEventFilter(this);
    HDListView->installEventFilter(this);
    PressButtonsOnEnter(*this);
    setCaptions();

    try {
        IdUDPServer1 = std::make_unique<UdpEndpoint>(DiscoveryPort);
    } catch (const PortTakenError&) {
        throw std::runtime_error(LocalizeText(PortTakenText));
    }
    readNotifier_ = new QSocketNotifier(IdUDPServer1->nativeHandle(), QSocketNotifier::Read, this);
    readNotifier_->setObjectName("IdUDPServer1");
    connect(readNotifier_, &QSocketNotifier::activated, this, &TForm1::readWaitingDatagrams);

    connect(ScanBtn, &QPushButton::clicked, this, &TForm1::ScanBtnClick);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
}

TForm1::~TForm1()
{
    // The notifier goes before the socket it watches.
    delete readNotifier_;
}

void TForm1::setCaptions()
{
    setWindowTitle(ToQString(LocalizeText("Vantrel Q70 Configuration Utility - Version ") + VersionText));
    QStringList captions;
    for (const Column& column : Columns)
        captions << ToQString(LocalizeText(column.caption));
    HDListView->setHeaderLabels(captions);
    for (int i = 0; i < static_cast<int>(std::size(Columns)); ++i)
        HDListView->setColumnWidth(i, Columns[i].width);
    TranslateCaptions(this);
}

void TForm1::ScanBtnClick()
{
    const std::string request = BuildDiscoveryRequest();
    if (!IdUDPServer1->sendTo(DiscoveryBroadcastAddress, DiscoveryPort, request.data(), request.size()))
        CurrentNotifier().notice(LocalizeText(SearchNotSentText), ToAnsi(QGuiApplication::applicationName()),
                                 MessageIcon::Error);
    devices_.clear();
    HDListView->clear();
    Timer1->start();
    ProgressBar1->setValue(SearchProgressMinimum);
}

void TForm1::readWaitingDatagrams()
{
    // One datagram at a time, in arrival order, even if a handler pumps
    // events. A flood of datagrams must not keep the window from the rest of
    // its events: what is left waits for the next round of the loop.
    constexpr int MostDatagramsAtOnce = 256;
    readNotifier_->setEnabled(false);
    for (int i = 0; i < MostDatagramsAtOnce; ++i) {
        const auto datagram = IdUDPServer1->receive();
        if (!datagram)
            break;
        IdUDPServer1UDPRead(datagram->bytes, datagram->senderAddress);
    }
    readNotifier_->setEnabled(true);
}

void TForm1::IdUDPServer1UDPRead(const std::string& datagram, const std::string& senderAddress)
{
    const auto reply = ParseDiscoveryReply(datagram.data(), datagram.size());
    if (!reply || !AddReply(devices_, senderAddress, *reply))
        return;
    const DeviceListEntry& row = devices_.rows().back();
    auto* item = new QTreeWidgetItem(QStringList{ToQString(row.Address), ToQString(row.DiskName),
                                                 ToQString(row.GroupName), ToQString(row.FirmwareVersion)});
    // The columns are narrow for a long address or a full name: hovering shows it whole.
    for (int column = 0; column < item->columnCount(); ++column)
        item->setToolTip(column, PlainToolTip(item->text(column)));
    HDListView->addTopLevelItem(item);
}

void TForm1::Timer1Timer()
{
    const ProgressStep step = ProgressTick(ProgressBar1->value(), ProgressBar1->maximum());
    if (step.stop)
        Timer1->stop();
    ProgressBar1->setValue(step.position);
}

void TForm1::HDListViewClick()
{
    const QList<QTreeWidgetItem*> selected = HDListView->selectedItems();
    if (selected.isEmpty())
        return;
    const std::string address = ToAnsi(selected.first()->text(0));
    CloseManagementWindow();
    CurrentDevice.Address = address;
    if (ShowLoginWindowFromDiscovery())
        hide();
    WarnIfOtherSubnet(address);
}

void TForm1::FormClose() { EndProcess(0); }

void TForm1::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    // A click anywhere in the list counts, also beside the rows.
    if (watched == HDListView->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        HDListViewClick();
    // Enter on the picked row does what a click does, for keyboard users.
    if (watched == HDListView && event->type() == QEvent::KeyPress &&
        IsEnterKey(static_cast<QKeyEvent*>(event)->key())) {
        HDListViewClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
