#include "ui/Smbcreatform/TForm6.h"

#include "app/CurrentDevice.h"
#include "ui/Application/Forms.h"
#include "ui/Smbcreatform/CreateFolderLogic.h"
#include "ui_TForm6.h"

TForm6::TForm6(QWidget* parent) : SetDialog(parent), ui_(new Ui::TForm6)
{
    ui_->setupUi(this);
    SetUpDialog(262, 96, {ui_->FoldernameEdit}, {CreateFolderLogic::FoldernameEdit}, [] { FileServerDialogFinished(); });
    connect(ui_->CreateFBtn, &QPushButton::clicked, this, &TForm6::CreateFBtnClick);
}

TForm6::~TForm6() = default;

void TForm6::OpenForNewFolder() { Open(ui_->FoldernameEdit); }

void TForm6::CreateFBtnClick()
{
    RunSet([](const DialogFields& fields) { return CreateFolderLogic::CreateFBtnClick(fields, CurrentDevice.Address); },
           "File Server");
}
