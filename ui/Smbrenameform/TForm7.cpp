#include "ui/Smbrenameform/TForm7.h"

#include "app/CurrentDevice.h"
#include "ui/Application/AnsiText.h"
#include "ui/Application/Forms.h"
#include "ui/Application/WindowText.h"
#include "ui/Smbrenameform/RenameFolderLogic.h"
#include "ui_TForm7.h"

TForm7::TForm7(QWidget* parent) : SetDialog(parent), ui_(new Ui::TForm7)
{
    ui_->setupUi(this);
    SetUpDialog(262, 128, {ui_->OldFoldernameEdit, ui_->NewFoldernameEdit}, {RenameFolderLogic::NewFoldernameEdit},
                [] { FileServerDialogFinished(); });
    connect(ui_->RenameFBtn, &QPushButton::clicked, this, &TForm7::RenameFBtnClick);
}

TForm7::~TForm7() = default;

void TForm7::OpenForFolder(const std::string& folder)
{
    SetFieldText(ui_->OldFoldernameEdit, ToQString(folder));
    Open(ui_->NewFoldernameEdit);
}

void TForm7::RenameFBtnClick()
{
    RunSet([](const DialogFields& fields) { return RenameFolderLogic::RenameFBtnClick(fields, CurrentDevice.Address); },
           "File Server");
}
