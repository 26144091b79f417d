#include "ui/Ftpscreateaform/TForm9.h"

#include "app/CurrentDevice.h"
#include "ui/Application/Forms.h"
#include "ui/Ftpscreateaform/FtpCreateAccountLogic.h"
#include "ui_TForm9.h"

TForm9::TForm9(QWidget* parent) : SetDialog(parent), ui(new Ui::TForm9)
{
    ui->setupUi(this);
    SetUpDialog(235, 78, {ui->FTPAddAccEdit}, {FtpCreateAccountLogic::AccountName}, [] { EnableFtpAccountCreate(); });
    connect(ui->FTPAddAccBtn, &QPushButton::clicked, this, &TForm9::FTPAddAccBtnClick);
}

TForm9::~TForm9() = default;

void TForm9::OpenDialog() { Open(ui->FTPAddAccEdit); }

void TForm9::FTPAddAccBtnClick()
{
    RunSet([](const DialogFields& fields) { return FtpCreateAccountLogic::FTPAddAccBtnClick(fields, CurrentDevice.Address); },
           FtpCreateAccountLogic::Caption);
}
