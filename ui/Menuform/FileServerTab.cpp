#include "ui/Menuform/FileServerTab.h"

#include <QListWidget>

#include "app/CurrentDevice.h"
#include "app/LocalizeText.h"
#include "app/Notifier.h"
#include "device/StatusPage.h"
#include "ui/Application/AnsiText.h"
#include "ui/Application/Forms.h"
#include "ui/Application/WindowText.h"
#include "ui_FileServerTab.h"

using namespace FileServerTabLogic;

namespace {

void Fill(QListWidget* list, const std::vector<std::string>& names)
{
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(names.size()));
    for (const std::string& name : names)
        texts << ToQString(name);
    list->clear();
    list->addItems(texts); // one insertion, however many folders
}

} // namespace

FileServerTab::FileServerTab(QWidget* parent) : ManagementPage(parent), ui(std::make_unique<Ui::FileServerTab>())
{
    ui->setupUi(this);
    UsePlainText(this);
    // A selection by keyboard counts, and so does a click on the entry already selected.
    connect(ui->SMBFolderLB, &QListWidget::itemClicked, this, &FileServerTab::SMBFolderLBClick);
    connect(ui->SMBFolderLB, &QListWidget::itemSelectionChanged, this, [this] {
        if (!ui->SMBFolderLB->selectedItems().isEmpty())
            SMBFolderLBClick();
    });
    connect(ui->SMBPublicFolderLB, &QListWidget::itemClicked, this, &FileServerTab::SMBPublicFolderLBClick);
    connect(ui->SMBPublicFolderLB, &QListWidget::itemSelectionChanged, this, [this] {
        if (!ui->SMBPublicFolderLB->selectedItems().isEmpty())
            SMBPublicFolderLBClick();
    });
    connect(ui->MovetoPublicBtn, &QPushButton::clicked, this, &FileServerTab::MovetoPublicBtnClick);
    connect(ui->MovetoSMBBtn, &QPushButton::clicked, this, &FileServerTab::MovetoSMBBtnClick);
    connect(ui->ShowCreateBtn, &QPushButton::clicked, this, &FileServerTab::ShowCreateBtnClick);
    connect(ui->ShowRenameBtn, &QPushButton::clicked, this, &FileServerTab::ShowRenameBtnClick);
    connect(ui->ShowDeleteBtn, &QPushButton::clicked, this, &FileServerTab::ShowDeleteBtnClick);
    connect(ui->ShowPublicPassBtn, &QPushButton::clicked, this, &FileServerTab::ShowPublicPassBtnClick);
    EnterState(ButtonState::Idle);
}

FileServerTab::~FileServerTab() = default;

void FileServerTab::ShowPage() { TabSheet4Show(); }

void FileServerTab::DialogFinished() { EnterState(ButtonState::Idle); }

void FileServerTab::DisableFileServerButtons()
{
    for (QPushButton* button : {ui->ShowCreateBtn, ui->ShowRenameBtn, ui->ShowDeleteBtn, ui->ShowPublicPassBtn,
                                ui->MovetoPublicBtn, ui->MovetoSMBBtn})
        button->setEnabled(false);
}

void FileServerTab::EnterState(ButtonState state)
{
    DisableFileServerButtons();
    const FileServerButtons enabled = ButtonsFor(state);
    ui->ShowCreateBtn->setEnabled(enabled.ShowCreateBtn);
    ui->ShowRenameBtn->setEnabled(enabled.ShowRenameBtn);
    ui->ShowDeleteBtn->setEnabled(enabled.ShowDeleteBtn);
    ui->ShowPublicPassBtn->setEnabled(enabled.ShowPublicPassBtn);
    ui->MovetoPublicBtn->setEnabled(enabled.MovetoPublicBtn);
    ui->MovetoSMBBtn->setEnabled(enabled.MovetoSMBBtn);
}

std::string FileServerTab::SelectedName(const QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? std::string() : ToAnsi(selected.first()->text());
}

void FileServerTab::ClearSelection(QListWidget* list)
{
    const QSignalBlocker quiet(list);
    list->clearSelection();
    list->setCurrentRow(-1);
}

void FileServerTab::TabSheet4Show()
{
    EnterState(ButtonState::Idle);
    const FileServerLists lists = ReadFileServerTab(FetchStatusPage());
    Fill(ui->SMBFolderLB, lists.SMBFolderLB);
    Fill(ui->SMBPublicFolderLB, lists.SMBPublicFolderLB);
}

void FileServerTab::SMBFolderLBClick()
{
    ClearSelection(ui->SMBPublicFolderLB);
    EnterState(ButtonState::FolderSelected);
}

void FileServerTab::SMBPublicFolderLBClick()
{
    ClearSelection(ui->SMBFolderLB);
    EnterState(ButtonState::SharedFolderSelected);
}

void FileServerTab::MovetoPublicBtnClick()
{
    DisableFileServerButtons();
    const auto outcome = FileServerTabLogic::MovetoPublicBtnClick(SelectedName(ui->SMBFolderLB), CurrentDevice.Address);
    if (const auto* refusal = std::get_if<Notice>(&outcome)) {
        ShowNotice(*refusal); // the buttons stay off until the next selection or refresh
        return;
    }
    Send(std::get<Command>(outcome), "File Server");
    ClearSelection(ui->SMBFolderLB);
    ClearSelection(ui->SMBPublicFolderLB);
    EnterState(ButtonState::Idle);
}

void FileServerTab::MovetoSMBBtnClick()
{
    DisableFileServerButtons();
    Send(FileServerTabLogic::MovetoSMBBtnClick(SelectedName(ui->SMBPublicFolderLB), CurrentDevice.Address),
         "File Server");
    ClearSelection(ui->SMBFolderLB);
    ClearSelection(ui->SMBPublicFolderLB);
    EnterState(ButtonState::Idle);
}

void FileServerTab::ShowDeleteBtnClick()
{
    DisableFileServerButtons();
    const std::string folder = SelectedName(ui->SMBFolderLB);
    const Notice question = DeleteQuestion();
    if (CurrentNotifier().confirm(question.text, LocalizeText(question.caption), question.icon))
        Send(FileServerTabLogic::ShowDeleteBtnClick(folder, CurrentDevice.Address), question.caption.c_str());
    ClearSelection(ui->SMBFolderLB);
    EnterState(ButtonState::Idle);
}

void FileServerTab::ShowCreateBtnClick()
{
    EnterState(ButtonState::AllDisabled);
    ClearSelection(ui->SMBFolderLB);
    OpenCreateFolderDialog();
}

void FileServerTab::ShowRenameBtnClick()
{
    EnterState(ButtonState::AllDisabled);
    const std::string folder = SelectedName(ui->SMBFolderLB);
    ClearSelection(ui->SMBFolderLB);
    OpenRenameFolderDialog(folder);
}

void FileServerTab::ShowPublicPassBtnClick()
{
    EnterState(ButtonState::AllDisabled);
    const std::string folder = SelectedName(ui->SMBPublicFolderLB);
    ClearSelection(ui->SMBPublicFolderLB);
    OpenSharePasswordDialog(folder);
}
