#include "ui/Mountform/TForm5.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include "app/CurrentDevice.h"
#include "app/LocalizeText.h"
#include "app/Notifier.h"
#include "platform/Drives.h"
#include "ui/Application/AnsiText.h"
#include "ui/Application/Forms.h"
#include "ui/Application/KeyboardUse.h"
#include "ui/Application/PasswordEcho.h"
#include "ui/Mountform/FolderListLogic.h"
#include "ui/Mountform/NetworkDriveLogic.h"
#include "ui/Application/WindowSetup.h"
#include "ui_TForm5.h"

namespace {

void SetCaption(QWidget* widget, const char* english)
{
    const QString text = ToQString(LocalizeText(english));
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(text);
    else
        widget->setWindowTitle(text);
}

} // namespace

TForm5::TForm5(QWidget* parent)
    : QWidget(parent), ui_(new Ui::TForm5)
{
    ui_->setupUi(this);
    Label1 = ui_->Label1;
    CmbDrive = ui_->CmbDrive;
    Label2 = ui_->Label2;
    FolderCB = ui_->FolderCB;
    Label3 = ui_->Label3;
    FolderPassEdit = ui_->FolderPassEdit;
    LoginConn_CheckBox = ui_->LoginConn_CheckBox;
    MountSetBtn = ui_->MountSetBtn;
    ShowStarsFor(FolderPassEdit);

    SetUpFixedWindow(*this, 241, 175);
    // Waiting on the network keeps the windows answering.
    drives_ = MakeSystemDrives([] { QCoreApplication::processEvents(); });

    connect(CmbDrive->lineEdit(), &QLineEdit::textEdited, this, [this] { driveTyped_ = true; });
    connect(CmbDrive, &QComboBox::activated, this, [this] { driveTyped_ = false; });
    connect(FolderCB->lineEdit(), &QLineEdit::textEdited, this, [this] { folderTyped_ = true; });
    connect(FolderCB, &QComboBox::activated, this, [this] { folderTyped_ = false; });
    connect(MountSetBtn, &QPushButton::clicked, this, &TForm5::MountSetBtnClick);
    PressButtonsOnEnter(*this);
}

TForm5::~TForm5() = default;

int TForm5::pickedDrive() const
{
    return driveTyped_ ? -1 : CmbDrive->currentIndex();
}

int TForm5::pickedFolder() const
{
    return folderTyped_ ? -1 : FolderCB->currentIndex();
}

void TForm5::fillFolders()
{
    // The login window refills the list before each visit; a refilled list starts with nothing picked.
    if (foldersShown_ == NetworkDriveFolders.Generation())
        return;
    foldersShown_ = NetworkDriveFolders.Generation();
    FolderCB->clear();
    for (const std::string& name : NetworkDriveFolders.Entries())
        FolderCB->addItem(ToQString(name));
    FolderCB->setCurrentIndex(-1);
    folderTyped_ = false;
}

void TForm5::FormShow()
{
    CmbDrive->clear();
    for (char letter : ListFreeDriveLetters(*drives_))
        CmbDrive->addItem(QString(QChar(letter)));
    CmbDrive->setCurrentIndex(CmbDrive->count() > 0 ? 0 : -1);
    driveTyped_ = false;
    fillFolders();
    SetCaption(this, "Connect Disk");
    SetCaption(Label1, "Disk Number");
    SetCaption(Label2, "Folder");
    SetCaption(Label3, "Password");
    SetCaption(LoginConn_CheckBox, "Reconnect at logon");
    SetCaption(MountSetBtn, "Set");
    LoginConn_CheckBox->setChecked(true);
}

void TForm5::MountSetBtnClick()
{
    // A press while a connection is being made does not start a second one.
    if (connecting_)
        return;
    const std::string host = PickedDeviceAddress();
    switch (ChooseMountSetAction(pickedDrive() >= 0, !host.empty(), CurrentDevice.Address)) {
    case MountSetAction::Connect: {
        const char letter = ToAnsi(CmbDrive->itemText(pickedDrive())).front();
        const int folder = pickedFolder();
        const std::string folderName = folder >= 0 ? ToAnsi(FolderCB->itemText(folder)) : std::string();
        connecting_ = true;
        QApplication::setOverrideCursor(Qt::BusyCursor);
        const int code = NetConnect(*drives_, host, letter, LoginConn_CheckBox->isChecked(), folderName,
                                    ToAnsi(FolderPassEdit->text()));
        QApplication::restoreOverrideCursor();
        connecting_ = false;
        NoticeLocalized(ConnectMessage(code), "Connect", MessageIcon::Information);
        if (code == 0 && FolderCB->count() > 0) {
            FolderCB->setCurrentIndex(0);
            folderTyped_ = false;
        }
        break;
    }
    case MountSetAction::AskForDisk:
        NoticeLocalized("Please Select Disk Name!", "Connection Error", MessageIcon::Question);
        break;
    case MountSetAction::AskForDevice:
        NoticeLocalized("Please Select Remote Device!", "Connection Error", MessageIcon::Question);
        break;
    case MountSetAction::Nothing:
        break;
    }
}

void TForm5::FormClose()
{
    hide();
    ShowLoginWindow();
}

void TForm5::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm5::closeEvent(QCloseEvent* event)
{
    event->accept();
    FormClose();
}
