#include "ui/Smbpassform/TForm8.h"

#include "app/CurrentDevice.h"
#include "ui/Application/AnsiText.h"
#include "ui/Application/Forms.h"
#include "ui/Application/PasswordEcho.h"
#include "ui/Application/WindowText.h"
#include "ui/Smbpassform/SharePasswordLogic.h"
#include "ui_TForm8.h"

using namespace SharePasswordLogic;

TForm8::TForm8(QWidget* parent) : SetDialog(parent), ui_(new Ui::TForm8)
{
    ui_->setupUi(this);
    ShowStarsFor(ui_->PublicPassEdit);
    ShowStarsFor(ui_->VerifyPassEdit);
    SetUpDialog(282, 160, {ui_->PublicFolderEdit, ui_->PublicPassEdit, ui_->VerifyPassEdit},
                {PublicPassEdit, VerifyPassEdit}, [] { FileServerDialogFinished(); });
    connect(ui_->PublicPassBtn, &QPushButton::clicked, this, &TForm8::PublicPassBtnClick);
}

TForm8::~TForm8() = default;

void TForm8::OpenForFolder(const std::string& folder)
{
    SetFieldText(ui_->PublicFolderEdit, ToQString(folder));
    Open(ui_->PublicPassEdit);
}

void TForm8::PublicPassBtnClick()
{
    RunSet([](const DialogFields& fields) { return SharePasswordLogic::PublicPassBtnClick(fields, CurrentDevice.Address); },
           "File Server");
}
