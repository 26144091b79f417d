#include "ui/Menuform/StatusTab.h"

#include <QGridLayout>

#include <variant>

#include "app/CurrentDevice.h"
#include "device/CommandSender.h"
#include "device/StatusPage.h"
#include "ui/Application/AnsiText.h"
#include "ui/Application/PasswordEcho.h"
#include "ui/Application/WindowText.h"
#include "ui/Menuform/PageLayout.h"
#include "ui_StatusTab.h"

StatusTab::StatusTab(QWidget* parent) : ManagementPage(parent), ui(std::make_unique<Ui::StatusTab>())
{
    ui->setupUi(this);
    UsePlainText(this);
    GroupPair(this, ui->SntpAutoRB, ui->SntpDisRB);
    GroupPair(this, ui->TimeSSelRB, ui->TimeSMakeRB);
    GroupPair(this, ui->DhcpsERB, ui->DhcpsDRB);
    FillList(ui->TimeSSelCB, DateTimeLogic::TimeServers);
    FillList(ui->TimezoneCB, DateTimeLogic::TimeZones);
    ui->TimeSSelCB->hide();
    ui->MantimeSEdit->hide();
    listedServerCover = new CaptionCover(ui->TimeSSelBox, ui->TimeSSelRB, ui->TimeSSelCB);
    typedServerCover = new CaptionCover(ui->TimeSMakeBox, ui->TimeSMakeRB, ui->MantimeSEdit);
    ShowStarsFor(ui->PassEdit);
    ShowStarsFor(ui->VerifyEdit);
    // The rest of the building waits for the first show (BuildOnFirstShow):
    // the window is made at start-up but seen only after a login. Until
    // then the page does not lay itself out either.
    ui->TabSheet1Layout->setEnabled(false);

    connect(ui->identBtn, &QPushButton::clicked, this, &StatusTab::identBtnClick);
    connect(ui->adminBtn, &QPushButton::clicked, this, &StatusTab::adminBtnClick);
    connect(ui->NetinfoBtn, &QPushButton::clicked, this, &StatusTab::NetinfoBtnClick);
    connect(ui->LangBtn, &QPushButton::clicked, this, &StatusTab::LangBtnClick);
    connect(ui->DatatimeBtn, &QPushButton::clicked, this, &StatusTab::DatatimeBtnClick);
    connect(ui->TimeSSelRB, &QRadioButton::clicked, this, &StatusTab::TimeSSelRBClick);
    connect(ui->TimeSMakeRB, &QRadioButton::clicked, this, &StatusTab::TimeSMakeRBClick);
}

StatusTab::~StatusTab() = default;

void StatusTab::BuildOnFirstShow()
{
    // Drop-down lists with an edit part, as wide as their minimum contents
    // rather than their longest entry; both make the list's popup, which is
    // costly, so they wait for here.
    for (QComboBox* list : {ui->TimeSSelCB, ui->TimezoneCB, ui->LangCB}) {
        list->setEditable(true);
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }
    FitEditsToCharacters();
    MeasureLayout();
    ui->TabSheet1Layout->setEnabled(true);
    ui->TabSheet1Layout->activate();
}

void StatusTab::MeasureLayout()
{
    listedServerCover->updateMinimumSize();
    typedServerCover->updateMinimumSize();
    AlignLabelColumns();
}

QLineEdit* StatusTab::passEdit() { return ui->PassEdit; }

QLineEdit* StatusTab::verifyEdit() { return ui->VerifyEdit; }

void StatusTab::ShowPage() { TabSheet1Show(); }

void StatusTab::TabSheet1Show()
{
    SetFieldText(ui->AdminEdit, ToQString(CurrentDevice.UserName));
    const StatusTabLogic::StatusTabValues values = StatusTabLogic::ReadStatusTab(FetchStatusPage());

    SetFieldText(ui->HostEdit, ToQString(values.HostEdit));
    SetFieldText(ui->GroupEdit, ToQString(values.GroupEdit));
    FillDateTimeGroup(values.dateTime);
    ui->IPAddressLB->setText(ToQString(values.IPAddressLB));
    (values.dhcpServerOn ? ui->DhcpsERB : ui->DhcpsDRB)->setChecked(true);
    ui->MSCAddrLB->setText(ToQString(values.MSCAddrLB));
    ui->FirmverLB->setText(ToQString(values.FirmverLB));
    ui->DiskidLB->setText(ToQString(values.DiskidLB));
    ui->FreesizeLB->setText(ToQString(values.FreesizeLB));
    ui->TotalsizeLB->setText(ToQString(values.TotalsizeLB));
    ui->LangCB->clear();
    for (const std::string& language : values.languages)
        ui->LangCB->addItem(ToQString(language));
    ui->LangCB->setCurrentIndex(values.languageIndex);
}

void StatusTab::FillDateTimeGroup(const DateTimeLogic::DateTimeValues& values)
{
    ui->CurrenttimeLB->setText(ToQString(values.CurrenttimeLB));
    SetFieldText(ui->YearEdit, ToQString(values.YearEdit));
    SetFieldText(ui->MonthEdit, ToQString(values.MonthEdit));
    SetFieldText(ui->DataEdit, ToQString(values.DataEdit));
    SetFieldText(ui->HourEdit, ToQString(values.HourEdit));
    SetFieldText(ui->MinuteEdit, ToQString(values.MinuteEdit));
    SetFieldText(ui->SecondEdit, ToQString(values.SecondEdit));
    (values.sntpAuto ? ui->SntpAutoRB : ui->SntpDisRB)->setChecked(true);
    (values.listedTimeServer ? ui->TimeSSelRB : ui->TimeSMakeRB)->setChecked(true);
    ui->TimeSSelCB->setCurrentIndex(values.TimeSSelIndex);
    if (values.MantimeSEdit)
        SetFieldText(ui->MantimeSEdit, ToQString(*values.MantimeSEdit));
    ShowTimeServerInput(values.listedTimeServer);
    ui->TimezoneCB->setCurrentIndex(values.TimezoneIndex);
}

void StatusTab::ShowTimeServerInput(bool listed)
{
    ui->TimeSSelCB->setVisible(listed);
    ui->MantimeSEdit->setVisible(!listed);
}

void StatusTab::TimeSSelRBClick() { ShowTimeServerInput(true); }

void StatusTab::TimeSMakeRBClick() { ShowTimeServerInput(false); }

void StatusTab::identBtnClick()
{
    const auto outcome = StatusTabLogic::identBtnClick(ToAnsi(ui->HostEdit->text()), ToAnsi(ui->GroupEdit->text()),
                                                       CurrentDevice.Address);
    if (outcome.trimmedHost)
        SetFieldText(ui->HostEdit, ToQString(*outcome.trimmedHost));
    if (outcome.trimmedGroup)
        SetFieldText(ui->GroupEdit, ToQString(*outcome.trimmedGroup));
    Carry(outcome.result, "Identification");
}

void StatusTab::adminBtnClick()
{
    const auto outcome =
        StatusTabLogic::adminBtnClick(ToAnsi(ui->PassEdit->text()), ToAnsi(ui->VerifyEdit->text()), CurrentDevice.Address);
    if (const auto* notice = std::get_if<Notice>(&outcome)) {
        ShowNotice(*notice);
        emit managementEnabledRequested(true);
        return;
    }
    Send(std::get<Command>(outcome), "Administration");
    // The appliance now wants the new password: the user logs in again with it.
    emit managementEnabledRequested(false);
    emit loginWindowRequested();
}

void StatusTab::NetinfoBtnClick()
{
    Send(StatusTabLogic::NetinfoBtnClick(ui->DhcpsERB->isChecked(), CurrentDevice.Address), "Network Information");
}

void StatusTab::LangBtnClick()
{
    const auto outcome = StatusTabLogic::LangBtnClick(ui->LangCB->currentIndex(), CurrentDevice.Address);
    Send(outcome.command, "Disk Information");
    ShowNotice(outcome.afterwards);
}

void StatusTab::DatatimeBtnClick()
{
    DateTimeLogic::DateTimeControls controls;
    controls.YearEdit = ToAnsi(ui->YearEdit->text());
    controls.MonthEdit = ToAnsi(ui->MonthEdit->text());
    controls.DataEdit = ToAnsi(ui->DataEdit->text());
    controls.HourEdit = ToAnsi(ui->HourEdit->text());
    controls.MinuteEdit = ToAnsi(ui->MinuteEdit->text());
    controls.SecondEdit = ToAnsi(ui->SecondEdit->text());
    controls.SntpAutoRB = ui->SntpAutoRB->isChecked();
    controls.TimeSSelRB = ui->TimeSSelRB->isChecked();
    controls.TimeSMakeRB = ui->TimeSMakeRB->isChecked();
    controls.selectedTimeServer = SelectedEntryText(ui->TimeSSelCB);
    controls.MantimeSEdit = ToAnsi(ui->MantimeSEdit->text());
    controls.TimezoneIndex = ui->TimezoneCB->currentIndex();
    const auto outcome = DateTimeLogic::DatatimeBtnClick(controls, CurrentDevice.Address);
    if (outcome.notice)
        ShowNotice(*outcome.notice);
    Send(outcome.command, "Date and Time");
}

// The short date and time fields are as wide as the characters they take.
void StatusTab::FitEditsToCharacters()
{
    ::FitEditsToCharacters({ui->YearEdit, ui->MonthEdit, ui->DataEdit, ui->HourEdit, ui->MinuteEdit, ui->SecondEdit});
}

void StatusTab::AlignLabelColumns()
{
    ::AlignLabelColumns({ui->IdenGBLayout, ui->AdminGBLayout, ui->DatatimeGBLayout, ui->NetinfoGBLayout,
                         ui->DiskinfoGBLayout});
}
