#include "ui/Logindisk/TForm4.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>

#include "app/LocalizeText.h"
#include "app/Notifier.h"
#include "platform/Clock.h"
#include "ui/Application/AnsiText.h"
#include "ui/Application/BusyWait.h"
#include "ui/Application/Forms.h"
#include "ui/Application/KeyboardUse.h"
#include "ui/Application/WindowText.h"
#include "ui/Logindisk/LoginLogic.h"
#include "ui/Application/PasswordEcho.h"
#include "ui/Application/WindowSetup.h"
#include "ui/Mountform/FolderListLogic.h"
#include "ui_TForm4.h"

namespace {

// The box of a login that did not get in; true when the appliance refused the credentials.
bool ReportFailedLogin(LoginResult result)
{
    if (result == LoginResult::BadCredentials) {
        NoticeLocalized("Login failed, please check your username and password", "Login", MessageIcon::Information);
        return true;
    }
    NoticeLocalized("Connection fail", "Connect", MessageIcon::Error);
    return false;
}

} // namespace

TForm4::TForm4(QWidget* parent)
    : QWidget(parent), ui_(new Ui::TForm4)
{
    ui_->setupUi(this);
    UsePlainText(this);
    Label1 = ui_->Label1;
    UserEdit = ui_->UserEdit;
    Password = ui_->Password;
    PassEdit = ui_->PassEdit;
    MountBtn = ui_->MountBtn;
    MenBtn = ui_->MenBtn;
    ShowStarsFor(PassEdit);

    SetUpFixedWindow(*this, 239, 114);
    setWindowTitle(ToQString(LocalizeText("Remote Device Login")));
    TranslateCaptions(this);

    connect(MenBtn, &QPushButton::clicked, this, &TForm4::MenBtnClick);
    connect(MountBtn, &QPushButton::clicked, this, &TForm4::MountBtnClick);
    // Typing the password and pressing Enter logs in for management.
    connect(PassEdit, &QLineEdit::returnPressed, MenBtn, &QPushButton::click);
    PressButtonsOnEnter(*this);
}

TForm4::~TForm4() = default;

void TForm4::MenBtnClick()
{
    LoginResult result;
    {
        const BusyWait busy;
        result = RunLogin(ToAnsi(UserEdit->text()), ToAnsi(PassEdit->text()));
        if (result == LoginResult::Success) {
            SleepMs(ManagementOpenPauseMs);
            hide();
            OpenManagementWindow();
            return;
        }
    }
    if (ReportFailedLogin(result))
        FocusPassword();
}

void TForm4::MountBtnClick()
{
    LoginResult result;
    {
        const BusyWait busy;
        result = RunLogin(ToAnsi(UserEdit->text()), ToAnsi(PassEdit->text()));
    }
    if (result != LoginResult::Success) {
        ReportFailedLogin(result);
        return;
    }
    FillFolderList(NetworkDriveFolders);
    ShowMountWindow();
}

void TForm4::FormShow()
{
    // Changing the administrator password disabled the management window and came here.
    EnableManagementWindow();
    FocusPassword();
}

void TForm4::FocusPassword()
{
    // With the text selected, typing replaces a refused password rather than adding to it.
    PassEdit->setFocus();
    PassEdit->selectAll();
}

void TForm4::FormClose()
{
    hide();
    // Over the management window, which a new password leaves open behind.
    ShowDiscoveryWindow();
}

void TForm4::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm4::closeEvent(QCloseEvent* event)
{
    event->accept();
    FormClose();
}
