#include "ui/Menuform/DiskTab.h"

#include <QTimer>

#include "app/CurrentDevice.h"
#include "app/LocalizeText.h"
#include "device/StatusPage.h"
#include "ui/Application/AnsiText.h"
#include "ui/Application/WindowText.h"
#include "ui_DiskTab.h"

DiskTab::DiskTab(QWidget* parent) : ManagementPage(parent), ui(std::make_unique<Ui::DiskTab>())
{
    ui->setupUi(this);
    UsePlainText(this);
    connect(ui->DiskFormatBtn, &QPushButton::clicked, this, &DiskTab::DiskFormatBtnClick);
    connect(ui->DiskSleepBtn, &QPushButton::clicked, this, &DiskTab::DiskSleepBtnClick);
    connect(ui->DiskScanBtn, &QPushButton::clicked, this, &DiskTab::DiskScanBtnClick);
    connect(ui->DiskDelMsgBtn, &QPushButton::clicked, this, &DiskTab::DiskDelMsgBtnClick);
    connect(ui->DiskRefBtn, &QPushButton::clicked, this, &DiskTab::DiskRefBtnClick);
}

DiskTab::~DiskTab() = default;

void DiskTab::setScanTimer(QTimer* timer)
{
    Timer2 = timer;
    connect(Timer2, &QTimer::timeout, this, &DiskTab::Timer2Timer);
}

void DiskTab::ShowPage() { TabSheet7Show(); }

void DiskTab::TabSheet7Show()
{
    ui->DiskDelMsgBtn->setEnabled(false);
    const DiskTabLogic::DiskTabValues values = DiskTabLogic::ReadDiskTab(FetchStatusPage());
    SetFieldText(ui->DiskSleepTimeEdit, ToQString(values.DiskSleepTimeEdit));
    ui->DiskDelMsgBtn->setEnabled(values.DiskDelMsgBtnEnabled);
    ShowReport(values.DiskScanMO);
}

void DiskTab::ShowReport(const std::vector<std::string>& lines)
{
    QStringList text;
    text.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines)
        text << ToQString(line);
    ui->DiskScanMO->setPlainText(text.join('\n'));
}

bool DiskTab::SendIfConfirmed(const DiskTabLogic::ConfirmedCommand& asked)
{
    const Notice& question = asked.question;
    const std::string text = question.textLocalized ? question.text : LocalizeText(question.text);
    if (!CurrentNotifier().confirm(text, LocalizeText(question.caption), question.icon))
        return false;
    Send(asked.command, question.caption.c_str());
    return true;
}

void DiskTab::DiskFormatBtnClick() { SendIfConfirmed(DiskTabLogic::DiskFormatBtnClick(CurrentDevice.Address)); }

void DiskTab::DiskSleepBtnClick()
{
    // A text that is no number throws: the application reports it and the handler ends.
    Carry(DiskTabLogic::DiskSleepBtnClick(ToAnsi(ui->DiskSleepTimeEdit->text()), CurrentDevice.Address), "Disk Tools");
}

void DiskTab::DiskScanBtnClick()
{
    if (SendIfConfirmed(DiskTabLogic::DiskScanBtnClick(CurrentDevice.Address)) && Timer2)
        Timer2->start();
}

void DiskTab::DiskDelMsgBtnClick() { SendIfConfirmed(DiskTabLogic::DiskDelMsgBtnClick(CurrentDevice.Address)); }

void DiskTab::DiskRefBtnClick()
{
    if (Timer2)
        Timer2->stop();
    ticks.Reset();
}

void DiskTab::Timer2Timer()
{
    if (ticks.Tick())
        RefreshScanReport();
}

void DiskTab::RefreshScanReport()
{
    // Stopped while it reads, so its own reads and boxes cannot start another.
    Timer2->stop();
    const auto report = DiskTabLogic::ReadScanReport([] { return FetchStatusPage(); });
    if (!report)
        return; // nothing readable: the watching ends, the report stays
    ShowReport(*report);
    Timer2->start();
}
