#include "ui/Ftpscreatefform/TForm10.h"

#include "app/CurrentDevice.h"
#include "ui/Application/Forms.h"
#include "ui/Ftpscreatefform/FtpCreateFolderLogic.h"
#include "ui_TForm10.h"

TForm10::TForm10(QWidget* parent) : SetDialog(parent), ui(new Ui::TForm10)
{
    ui->setupUi(this);
    SetUpDialog(242, 72, {ui->ModCreateFEdit}, {FtpCreateFolderLogic::FolderName}, [] { EnableFtpFolderCreate(); });
    connect(ui->ModCreateFBtn, &QPushButton::clicked, this, &TForm10::ModCreateFBtnClick);
}

TForm10::~TForm10() = default;

void TForm10::OpenDialog() { Open(ui->ModCreateFEdit); }

void TForm10::ModCreateFBtnClick()
{
    RunSet([](const DialogFields& fields) { return FtpCreateFolderLogic::ModCreateFBtnClick(fields, CurrentDevice.Address); },
           FtpCreateFolderLogic::Caption);
}
