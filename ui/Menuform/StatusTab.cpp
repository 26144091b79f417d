#include "ui/Menuform/StatusTab.h"

#include <QButtonGroup>
#include <QEvent>
#include <QShowEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>
#include <variant>

#include "app/CurrentDevice.h"
#include "app/LocalizeText.h"
#include "device/CommandSender.h"
#include "device/StatusPage.h"
#include "ui/Application/AnsiText.h"
#include "ui/Application/BusyWait.h"
#include "ui/Application/PasswordEcho.h"
#include "ui/Application/WindowText.h"
#include "ui_StatusTab.h"

// Keeps an input over the caption of its radio button, leaving the indicator
// free: while the input is hidden the caption shows instead.
class StatusTab::CaptionCover final : public QObject {
public:
    CaptionCover(QWidget* box, QRadioButton* button, QWidget* input)
        : QObject(box), box(box), button(button), input(input)
    {
        box->installEventFilter(this);
    }

    void updateMinimumSize()
    {
        const int height = std::max(button->sizeHint().height(), input->sizeHint().height());
        const int width = std::max(button->sizeHint().width(), captionLeft() + input->minimumSizeHint().width());
        box->setMinimumSize(width, height);
        place();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == box && event->type() == QEvent::Resize)
            place();
        return false;
    }

private:
    int captionLeft() const
    {
        QStyleOptionButton option;
        option.initFrom(button);
        return button->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, button).left();
    }

    void place()
    {
        const QRect area = box->rect();
        button->setGeometry(area);
        const int left = captionLeft();
        const int height = input->sizeHint().height();
        input->setGeometry(left, (area.height() - height) / 2, area.width() - left, height);
        input->raise();
    }

    QWidget* box;
    QRadioButton* button;
    QWidget* input;
};

namespace {

// Radio pairs are independent of each other; before the first refresh none is checked.
void GroupPair(QWidget* owner, QRadioButton* first, QRadioButton* second)
{
    auto* group = new QButtonGroup(owner);
    group->addButton(first);
    group->addButton(second);
}

void FillList(QComboBox* list, const auto& entries)
{
    QStringList texts;
    for (const char* entry : entries)
        texts << ToQString(entry);
    list->clear();
    list->addItems(texts); // one insertion, not one per entry
    list->setCurrentIndex(-1);
}

std::string SelectedEntryText(const QComboBox* list)
{
    return list->currentIndex() < 0 ? std::string() : ToAnsi(list->itemText(list->currentIndex()));
}

} // namespace

StatusTab::StatusTab(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::StatusTab>())
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
    // The rest of the building waits for the first show (FinishBuilding):
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

void StatusTab::SetCaptions(const std::string& setText)
{
    const auto caption = [](auto* control, const char* english) { control->setText(ToQString(LocalizeText(english))); };
    const auto title = [](QGroupBox* box, const char* english) { box->setTitle(ToQString(LocalizeText(english))); };
    const QString set = ToQString(setText);

    title(ui->IdenGB, "Identification");
    caption(ui->Label1, "Host Name");
    caption(ui->Label2, "Group Name");
    ui->identBtn->setText(set);
    title(ui->AdminGB, "Administration");
    caption(ui->Label3, "Administrator");
    caption(ui->Label4, "Password");
    caption(ui->Label5, "Verify Password");
    ui->adminBtn->setText(set);
    title(ui->DatatimeGB, "Date and Time");
    caption(ui->Label6, "Current Time");
    caption(ui->Label7, "Date and Time");
    caption(ui->Label14, "SNTP");
    caption(ui->Label15, "Time Server");
    caption(ui->Label16, "Time Zone");
    caption(ui->Label13, "(yyyy/mm/dd - hh:mm:ss)");
    caption(ui->SntpAutoRB, "Auto");
    caption(ui->SntpDisRB, "Disable");
    caption(ui->TimeSSelRB, "Select Time Server");
    caption(ui->TimeSMakeRB, "Manually Set Time Server");
    ui->DatatimeBtn->setText(set);
    title(ui->NetinfoGB, "Network Information");
    caption(ui->Label17, "IP Address");
    caption(ui->Label18, "DHCP Server");
    caption(ui->DhcpsERB, "Enable");
    caption(ui->DhcpsDRB, "Disable");
    ui->NetinfoBtn->setText(set);
    title(ui->DiskinfoGB, "Disk Information");
    caption(ui->Label19, "Disk ID");
    caption(ui->Label20, "Firmware Version");
    caption(ui->Label21, "Free Size");
    caption(ui->Label22, "Total Size");
    caption(ui->Label60, "Language");
    ui->LangBtn->setText(set);

    if (built)
        MeasureLayout();
}

void StatusTab::FinishBuilding()
{
    if (built)
        return;
    built = true;
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

void StatusTab::showEvent(QShowEvent* event)
{
    // Shown on its own rather than through the management window.
    FinishBuilding();
    QWidget::showEvent(event);
}

void StatusTab::MeasureLayout()
{
    listedServerCover->updateMinimumSize();
    typedServerCover->updateMinimumSize();
    AlignLabelColumns();
}

void StatusTab::setCommandSender(CommandSender* commandSender, std::function<int()> activeTab)
{
    sender = commandSender;
    activeTabIndex = std::move(activeTab);
}

QLineEdit* StatusTab::passEdit() { return ui->PassEdit; }

QLineEdit* StatusTab::verifyEdit() { return ui->VerifyEdit; }

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
    if (const auto* notice = std::get_if<Notice>(&outcome.result))
        ShowNotice(*notice);
    else
        Send(std::get<Command>(outcome.result), "Identification");
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

void StatusTab::Send(const Command& command, const char* caption)
{
    if (!sender)
        return;
    const BusyWait busy;
    if (busy.nested())
        return; // pressed while another command waits on the appliance
    if (command.mode == SendingMode::Once)
        sender->SendDeviceCommand(command.url, command.page, activeTabIndex ? activeTabIndex() : 0, caption);
    else
        sender->SendDeviceCommandWithRetry(command.url, command.page, command.showOperation, caption);
}

// The short date and time fields are as wide as the characters they take.
void StatusTab::FitEditsToCharacters()
{
    const QFontMetrics metrics(font());
    const auto fit = [&](QLineEdit* edit) {
        QStyleOptionFrame option;
        option.initFrom(edit);
        const QSize text(metrics.horizontalAdvance(QString(TypingLimit(edit), QLatin1Char('0'))) + 8,
                         metrics.height());
        const int width = edit->style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, edit).width();
        edit->setFixedWidth(width);
    };
    for (QLineEdit* edit : {ui->YearEdit, ui->MonthEdit, ui->DataEdit, ui->HourEdit, ui->MinuteEdit, ui->SecondEdit})
        fit(edit);
}

// The captions of every group box line up in two columns, whatever their
// language: label columns as wide as their widest caption, the two field
// columns as wide as each other in every box.
void StatusTab::AlignLabelColumns()
{
    const QList<QGridLayout*> grids{ui->IdenGBLayout, ui->AdminGBLayout, ui->DatatimeGBLayout, ui->NetinfoGBLayout,
                                    ui->DiskinfoGBLayout};
    const auto widest = [&](std::initializer_list<int> columns, bool labels) {
        int width = 0;
        for (QGridLayout* grid : grids)
            for (int column : columns)
                for (int row = 0; row < grid->rowCount(); ++row) {
                    QLayoutItem* item = grid->itemAtPosition(row, column);
                    if (!item || !item->widget() || (qobject_cast<QLabel*>(item->widget()) != nullptr) != labels)
                        continue;
                    int firstRow, firstColumn, rows, columnsSpanned;
                    grid->getItemPosition(grid->indexOf(item->widget()), &firstRow, &firstColumn, &rows,
                                          &columnsSpanned);
                    if (columnsSpanned == 1)
                        width = std::max(width, labels ? item->sizeHint().width() : item->minimumSize().width());
                }
        return width;
    };
    const int firstLabels = widest({0}, true);
    const int secondLabels = widest({2}, true);
    const int fields = widest({1, 3}, false);
    for (QGridLayout* grid : grids) {
        grid->setColumnMinimumWidth(0, firstLabels);
        grid->setColumnMinimumWidth(2, secondLabels);
        grid->setColumnMinimumWidth(1, fields);
        grid->setColumnMinimumWidth(3, fields);
        grid->setColumnStretch(1, 1);
        grid->setColumnStretch(3, 1);
    }
}
