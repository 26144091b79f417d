#include "ui/Menuform/FtpServerTab.h"

#include <QHeaderView>

#include "app/CurrentDevice.h"
#include "app/LocalizeText.h"
#include "device/StatusPage.h"
#include "ui/Application/AnsiText.h"
#include "ui/Application/Forms.h"
#include "ui/Application/WindowText.h"
#include "ui/Mainform/GridLineDelegate.h"
#include "ui/Menuform/FtpServerTabLogic.h"
#include "ui/Menuform/PageLayout.h"
#include "ui_FtpServerTab.h"

namespace {

enum Column { UserNameColumn, PasswordColumn, AccessColumn, StateColumn, ValueColumn, ColumnCount };
constexpr int ColumnWidths[ColumnCount] = {150, 150, 110, 106, 0};
constexpr const char* ColumnCaptions[] = {"User Name", "Password", "Access", "Enable/Disable"};
constexpr const char* ServiceStates[] = {"Enable", "Disable"};

} // namespace

FtpServerTab::FtpServerTab(QWidget* parent) : ManagementPage(parent), ui(std::make_unique<Ui::FtpServerTab>())
{
    ui->setupUi(this);
    UsePlainText(this);
    GroupPair(this, ui->AnonyEnRB, ui->AnonyDisRB);
    GroupPair(this, ui->AnonyReadORB, ui->AnonyWriteRB);
    // The two states are the appliance's words, shown as they are.
    FillList(ui->FTPStatusCB, ServiceStates);

    QTreeWidget* list = ui->AccountLV;
    list->setItemDelegate(new GridLineDelegate(list));
    list->header()->setStretchLastSection(false);
    list->header()->setSectionsMovable(false);
    list->header()->setSectionResizeMode(QHeaderView::Fixed);
    for (int column = 0; column < ColumnCount; ++column)
        list->setColumnWidth(column, ColumnWidths[column]);
    list->setColumnHidden(ValueColumn, true); // the identifier is never seen
    for (int column = UserNameColumn; column <= StateColumn; ++column)
        list->headerItem()->setText(column, ToQString(LocalizeText(ColumnCaptions[column])));

    connect(ui->FTPStatusBtn, &QPushButton::clicked, this, &FtpServerTab::FTPStatusBtnClick);
    connect(ui->AnonyBtn, &QPushButton::clicked, this, &FtpServerTab::AnonyBtnClick);
    connect(list, &QTreeWidget::itemClicked, this, &FtpServerTab::AccountLVClick);
    // A row picked with the keyboard counts as a click: the buttons that act
    // on it can then be reached without a mouse.
    connect(list, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (ui->AccountLV->hasFocus())
            AccountLVClick();
    });
    connect(ui->AccAddBtn, &QPushButton::clicked, this, &FtpServerTab::AccAddBtnClick);
    connect(ui->AccModifyBtn, &QPushButton::clicked, this, &FtpServerTab::AccModifyBtnClick);
    connect(ui->AccStatusBtn, &QPushButton::clicked, this, &FtpServerTab::AccStatusBtnClick);
    connect(ui->AccDelBtn, &QPushButton::clicked, this, &FtpServerTab::AccDelBtnClick);
    ResetAccountButtons();
}

FtpServerTab::~FtpServerTab() = default;

void FtpServerTab::ShowPage() { TabSheet5Show(); }

QPushButton* FtpServerTab::accountCreateButton() { return ui->AccAddBtn; }

void FtpServerTab::ResetAccountButtons()
{
    for (QPushButton* button : {ui->AccModifyBtn, ui->AccStatusBtn, ui->AccDelBtn})
        button->setEnabled(false);
    emit accountFolderModeLeft();
}

void FtpServerTab::TabSheet5Show()
{
    ResetAccountButtons();
    const FtpServerTabLogic::FtpServerValues values = FtpServerTabLogic::ReadFtpServerTab(FetchStatusPage());
    ui->FTPStatusCB->setCurrentIndex(values.serviceEnabled ? 0 : 1);
    SetFieldText(ui->FTPPortEdit, ToQString(values.FTPPortEdit));
    (values.anonymousEnabled ? ui->AnonyEnRB : ui->AnonyDisRB)->setChecked(true);
    (values.anonymousReadOnly ? ui->AnonyReadORB : ui->AnonyWriteRB)->setChecked(true);

    QStringList folders;
    for (const std::string& folder : values.AnonyHDCB)
        folders << ToQString(folder);
    FillList(ui->AnonyHDCB, folders);
    ui->AnonyHDCB->setCurrentIndex(values.homeIndex);

    QList<QTreeWidgetItem*> rows;
    for (const FtpServerTabLogic::FtpAccountRow& account : values.AccountLV)
        rows << new QTreeWidgetItem(QStringList{ToQString(account.userName), ToQString(account.password),
                                                ToQString(account.access), ToQString(account.state),
                                                ToQString(account.value)});
    ui->AccountLV->clear();
    ui->AccountLV->addTopLevelItems(rows); // one insertion, not one per row
    ui->AccountLV->setCurrentItem(nullptr);
    ui->AccountLV->clearSelection();
}

void FtpServerTab::FTPStatusBtnClick()
{
    // A port that is no number throws: the application reports it and the handler ends.
    Carry(FtpServerTabLogic::FTPStatusBtnClick(SelectedEntryText(ui->FTPStatusCB), ToAnsi(ui->FTPPortEdit->text()),
                                               CurrentDevice.Address),
          "FTP Configuration");
}

void FtpServerTab::AnonyBtnClick()
{
    // With no folder to choose the home is sent empty; the appliance decides.
    Send(FtpServerTabLogic::AnonyBtnClick(ui->AnonyEnRB->isChecked(), ui->AnonyReadORB->isChecked(),
                                          SelectedEntryText(ui->AnonyHDCB), CurrentDevice.Address),
         "FTP Configuration");
}

void FtpServerTab::AccountLVClick()
{
    ResetAccountButtons();
    if (ui->AccountLV->selectedItems().isEmpty())
        return;
    for (QPushButton* button : {ui->AccModifyBtn, ui->AccStatusBtn, ui->AccDelBtn})
        button->setEnabled(true);
}

std::string FtpServerTab::SelectedAccountValue() const
{
    const QList<QTreeWidgetItem*> selected = ui->AccountLV->selectedItems();
    return selected.isEmpty() ? std::string() : ToAnsi(selected.first()->text(ValueColumn));
}

void FtpServerTab::AccAddBtnClick()
{
    ResetAccountButtons();
    Send(FtpServerTabLogic::AccAddBtnClick(CurrentDevice.Address), "Account List");
    OpenFtpCreateAccountDialog();
}

void FtpServerTab::AccModifyBtnClick()
{
    if (ui->AccountLV->selectedItems().isEmpty())
        return;
    Send(FtpServerTabLogic::AccModifyBtnClick(SelectedAccountValue(), CurrentDevice.Address), "Account List");
    ResetAccountButtons();
    // Whatever the sender reported: the page shows what the appliance now calls its current account.
    emit accountFolderModeEntered();
}

void FtpServerTab::AccStatusBtnClick()
{
    QTreeWidgetItem* row = ui->AccountLV->currentItem();
    if (!row || !row->isSelected())
        return;
    const int position = ui->AccountLV->indexOfTopLevelItem(row);
    Send(FtpServerTabLogic::AccStatusBtnClick(position, CurrentDevice.Address), "Account List");
}

void FtpServerTab::AccDelBtnClick()
{
    if (ui->AccountLV->selectedItems().isEmpty())
        return;
    const std::string value = SelectedAccountValue();
    const Notice question = FtpServerTabLogic::AccDelQuestion();
    if (!CurrentNotifier().confirm(LocalizeText(question.text), LocalizeText(question.caption), question.icon))
        return;
    Send(FtpServerTabLogic::AccDelBtnClick(value, CurrentDevice.Address), "Account List");
}
