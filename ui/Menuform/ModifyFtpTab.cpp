#include "ui/Menuform/ModifyFtpTab.h"

#include "app/CurrentDevice.h"
#include "app/LocalizeText.h"
#include "device/StatusPage.h"
#include "ui/Application/AnsiText.h"
#include "ui/Application/Forms.h"
#include "ui/Application/PasswordEcho.h"
#include "ui/Application/WindowText.h"
#include "ui/Menuform/ModifyFtpTabLogic.h"
#include "ui/Menuform/PageLayout.h"
#include "ui_ModifyFtpTab.h"

namespace {

constexpr const char* FolderListCaption = "Modify FTP Account Folder List";

QStringList Texts(const std::vector<std::string>& names)
{
    QStringList texts;
    for (const std::string& name : names)
        texts << ToQString(name);
    return texts;
}

std::string SelectedText(const QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? std::string() : ToAnsi(selected.first()->text());
}

} // namespace

ModifyFtpTab::ModifyFtpTab(QWidget* parent) : ManagementPage(parent), ui(std::make_unique<Ui::ModifyFtpTab>())
{
    ui->setupUi(this);
    UsePlainText(this);
    GroupPair(this, ui->ModFTPReadRB, ui->ModFTPWriteRB);
    ShowStarsFor(ui->ModFTPPassEdit);
    connect(ui->ModFTPBtn, &QPushButton::clicked, this, &ModifyFtpTab::ModFTPBtnClick);
    connect(ui->FTPSFLB, &QListWidget::itemClicked, this, &ModifyFtpTab::FTPSFLBClick);
    connect(ui->FTPSSharLB, &QListWidget::itemClicked, this, &ModifyFtpTab::FTPSSharLBClick);
    // An entry picked with the keyboard counts as a click on its list.
    connect(ui->FTPSFLB, &QListWidget::itemSelectionChanged, this, [this] {
        if (ui->FTPSFLB->hasFocus() && !ui->FTPSFLB->selectedItems().isEmpty())
            FTPSFLBClick();
    });
    connect(ui->FTPSSharLB, &QListWidget::itemSelectionChanged, this, [this] {
        if (ui->FTPSSharLB->hasFocus() && !ui->FTPSSharLB->selectedItems().isEmpty())
            FTPSSharLBClick();
    });
    connect(ui->ModMovetoSharBtn, &QPushButton::clicked, this, &ModifyFtpTab::ModMovetoSharBtnClick);
    connect(ui->ModMovetoFolderBtn, &QPushButton::clicked, this, &ModifyFtpTab::ModMovetoFolderBtnClick);
    connect(ui->ShowModCreateBtn, &QPushButton::clicked, this, &ModifyFtpTab::ShowModCreateBtnClick);
    connect(ui->ShowModRenameBtn, &QPushButton::clicked, this, &ModifyFtpTab::ShowModRenameBtnClick);
    connect(ui->ModDelBtn, &QPushButton::clicked, this, &ModifyFtpTab::ModDelBtnClick);
    connect(ui->BackBtn, &QPushButton::clicked, this, &ModifyFtpTab::BackBtnClick);
    for (QPushButton* button : {ui->ShowModRenameBtn, ui->ModDelBtn, ui->ModMovetoSharBtn, ui->ModMovetoFolderBtn})
        button->setEnabled(false);
}

ModifyFtpTab::~ModifyFtpTab() = default;

void ModifyFtpTab::ShowPage() { TabSheet6Show(); }

QPushButton* ModifyFtpTab::folderCreateButton() { return ui->ShowModCreateBtn; }

void ModifyFtpTab::ResetFolderButtons()
{
    for (QPushButton* button :
         {ui->ShowModCreateBtn, ui->ShowModRenameBtn, ui->ModDelBtn, ui->ModMovetoSharBtn, ui->ModMovetoFolderBtn})
        button->setEnabled(false);
    ui->ShowModCreateBtn->setEnabled(true);
    emit accountFolderModeKept();
}

void ModifyFtpTab::ClearSelections()
{
    ui->FTPSFLB->clearSelection();
    ui->FTPSSharLB->clearSelection();
}

std::string ModifyFtpTab::Account() const { return ToAnsi(ui->ModFTPAccLabel->text()); }

void ModifyFtpTab::TabSheet6Show()
{
    ResetFolderButtons();
    ui->ShowModCreateBtn->setEnabled(true);
    const ModifyFtpTabLogic::ModifyFtpValues values = ModifyFtpTabLogic::ReadModifyFtpTab(FetchStatusPage());
    ui->ModFTPAccLabel->setText(ToQString(values.ModFTPAccLabel));
    SetFieldText(ui->ModFTPPassEdit, ToQString(values.ModFTPPassEdit));
    (values.readOnly ? ui->ModFTPReadRB : ui->ModFTPWriteRB)->setChecked(true);
    ui->FTPSFLB->clear();
    ui->FTPSFLB->addItems(Texts(values.FTPSFLB));
    ui->FTPSSharLB->clear();
    ui->FTPSSharLB->addItems(Texts(values.FTPSSharLB));
    ClearSelections();
}

void ModifyFtpTab::ModFTPBtnClick()
{
    Carry(ModifyFtpTabLogic::ModFTPBtnClick(Account(), ToAnsi(ui->ModFTPPassEdit->text()),
                                            ui->ModFTPReadRB->isChecked(), CurrentDevice.Address),
          "Modify FTP Account");
}

void ModifyFtpTab::FTPSFLBClick()
{
    ResetFolderButtons();
    ui->ShowModCreateBtn->setEnabled(true);
    ui->FTPSSharLB->clearSelection();
    for (QPushButton* button : {ui->ModMovetoSharBtn, ui->ShowModRenameBtn, ui->ModDelBtn})
        button->setEnabled(true);
}

void ModifyFtpTab::FTPSSharLBClick()
{
    ResetFolderButtons();
    ui->FTPSFLB->clearSelection();
    ui->ModMovetoFolderBtn->setEnabled(true);
}

void ModifyFtpTab::ModMovetoSharBtnClick()
{
    ResetFolderButtons();
    const std::string folder = SelectedText(ui->FTPSFLB);
    if (!folder.empty())
        Carry(ModifyFtpTabLogic::ModMovetoSharBtnClick(Account(), folder, CurrentDevice.Address), FolderListCaption);
    ClearSelections();
    ui->ShowModCreateBtn->setEnabled(true);
}

void ModifyFtpTab::ModMovetoFolderBtnClick()
{
    ResetFolderButtons();
    const std::string folder = SelectedText(ui->FTPSSharLB);
    if (!folder.empty())
        Send(ModifyFtpTabLogic::ModMovetoFolderBtnClick(Account(), folder, CurrentDevice.Address), FolderListCaption);
    ClearSelections();
    ui->ShowModCreateBtn->setEnabled(true);
}

void ModifyFtpTab::ShowModCreateBtnClick()
{
    ResetFolderButtons();
    ClearSelections();
    OpenFtpCreateFolderDialog();
}

void ModifyFtpTab::ShowModRenameBtnClick()
{
    ResetFolderButtons();
    const std::string folder = SelectedText(ui->FTPSFLB);
    ClearSelections();
    ui->ShowModCreateBtn->setEnabled(true);
    OpenFtpRenameFolderDialog(folder);
}

void ModifyFtpTab::ModDelBtnClick()
{
    ResetFolderButtons();
    const std::string folder = SelectedText(ui->FTPSFLB);
    const auto asked = ModifyFtpTabLogic::ModDelBtnClick(folder, CurrentDevice.Address);
    if (!folder.empty()
        && CurrentNotifier().confirm(asked.question.text, LocalizeText(asked.question.caption), asked.question.icon))
        Send(asked.command, FolderListCaption);
    ClearSelections();
}

void ModifyFtpTab::BackBtnClick() { emit backRequested(); }
