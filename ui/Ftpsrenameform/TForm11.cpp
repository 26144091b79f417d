#include "ui/Ftpsrenameform/TForm11.h"

#include "app/CurrentDevice.h"
#include "ui/Application/AnsiText.h"
#include "ui/Application/Forms.h"
#include "ui/Application/WindowText.h"
#include "ui/Ftpsrenameform/FtpRenameFolderLogic.h"
#include "ui_TForm11.h"

TForm11::TForm11(QWidget* parent) : SetDialog(parent), ui(new Ui::TForm11)
{
    ui->setupUi(this);
    // Only the new name is typed and trimmed; the old one is the folder's own.
    SetUpDialog(246, 103, {ui->ModRenOldnameEdit, ui->ModRenNewnameEdit}, {FtpRenameFolderLogic::NewName},
                [] { EnableFtpFolderCreate(); });
    connect(ui->ModRenameFBtn, &QPushButton::clicked, this, &TForm11::ModRenameFBtnClick);
}

TForm11::~TForm11() = default;

void TForm11::OpenDialog() { Open(ui->ModRenNewnameEdit); }

void TForm11::SetOldName(const std::string& folder) { SetFieldText(ui->ModRenOldnameEdit, ToQString(folder)); }

void TForm11::ModRenameFBtnClick()
{
    RunSet([](const DialogFields& fields) { return FtpRenameFolderLogic::ModRenameFBtnClick(fields, CurrentDevice.Address); },
           FtpRenameFolderLogic::Caption);
}
