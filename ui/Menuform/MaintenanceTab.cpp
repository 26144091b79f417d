#include "ui/Menuform/MaintenanceTab.h"

#include <QFileDialog>
#include <QTimer>

#include <stdexcept>

#include "app/CurrentDevice.h"
#include "app/LocalizeText.h"
#include "app/Notifier.h"
#include "ui/Application/AnsiText.h"
#include "ui/Application/BusyWait.h"
#include "ui/Application/WindowText.h"
#include "ui/Menuform/MaintenanceTabLogic.h"
#include "ui_MaintenanceTab.h"

using namespace MaintenanceTabLogic;

MaintenanceTab::MaintenanceTab(QWidget* parent) : ManagementPage(parent), ui(std::make_unique<Ui::MaintenanceTab>())
{
    ui->setupUi(this);
    UsePlainText(this);
    ui->Label29->setText(ToQString(RebootLabelText()));
    ui->Label30->setText(ToQString(ResetLabelText()));
    ui->ProgressBar1->setRange(0, ProgressMaximum);
    ui->UploadBtn->setEnabled(false);
    ui->Label31->hide();
    ui->Label32->hide();
    ui->ProgressBar1->hide();
    connect(ui->BrowseBtn, &QPushButton::clicked, this, &MaintenanceTab::BrowseBtnClick);
    connect(ui->UploadBtn, &QPushButton::clicked, this, &MaintenanceTab::UploadBtnClick);
    connect(ui->RebootBtn, &QPushButton::clicked, this, &MaintenanceTab::RebootBtnClick);
    connect(ui->ResetBtn, &QPushButton::clicked, this, &MaintenanceTab::ResetBtnClick);
}

MaintenanceTab::~MaintenanceTab() = default;

void MaintenanceTab::setProgressTimer(QTimer* timer)
{
    Timer1 = timer;
    connect(Timer1, &QTimer::timeout, this, &MaintenanceTab::Timer1Timer);
}

void MaintenanceTab::ShowPage() { TabSheet3Show(); }

void MaintenanceTab::TabSheet3Show()
{
    EnableUploadForChosenFile();
    BackToIdle();
    ui->BrowseBtn->setEnabled(true);
    ui->RebootBtn->setEnabled(true);
    ui->ResetBtn->setEnabled(true);
}

void MaintenanceTab::EnableUploadForChosenFile() { ui->UploadBtn->setEnabled(!ui->FirmFileEdit->text().isEmpty()); }

void MaintenanceTab::BackToIdle()
{
    ui->Label31->hide();
    ui->Label32->hide();
    ui->ProgressBar1->hide();
    ui->ProgressBar1->setValue(0);
    if (Timer1)
        Timer1->stop();
}

void MaintenanceTab::EnableActions(bool enabled)
{
    ui->UploadBtn->setEnabled(enabled);
    ui->RebootBtn->setEnabled(enabled);
    ui->ResetBtn->setEnabled(enabled);
}

void MaintenanceTab::BrowseBtnClick()
{
    // Qt's own dialog: the same on every system, and a typed path is taken.
    const QString path = QFileDialog::getOpenFileName(this, QString(), QString(), QStringLiteral("bin file (*.bin)"),
                                                      nullptr, QFileDialog::DontUseNativeDialog);
    if (!path.isEmpty())
        SetFieldText(ui->FirmFileEdit, path);
    EnableUploadForChosenFile();
}

void MaintenanceTab::UploadBtnClick()
{
    if (!ConfirmLocalized("This will flash the firmware. Continue?", "Firmware Upload", MessageIcon::Question)) {
        BackToIdle();
        return;
    }
    ui->Label31->show();
    EnableActions(false);

    UploadOutcome outcome;
    try {
        const THttpDataStream body = BuildFirmwareUpload(ToAnsi(ui->FirmFileEdit->text()));
        const BusyWait uploading;
        outcome = PostUploadBody(UploadUrl(CurrentDevice.Address), body, CurrentDevice.UserName, CurrentDevice.Password,
                                 UploadReferer(CurrentDevice.Address));
    } catch (const std::runtime_error& error) {
        // The file went away or cannot be read: told, and since nothing was
        // sent the page is as before the press.
        ShowNotice(FileOpenNotice(error.what()));
        TabSheet3Show();
        return;
    }

    const UploadVerdict verdict = ClassifyUploadOutcome(outcome);
    if (verdict == UploadVerdict::Succeeded) {
        if (CurrentNotifier().confirm(UploadSuccessQuestionText(), LocalizeText("Firmware Upload"),
                                      MessageIcon::Question)) {
            Send(RebootCommand(CurrentDevice.Address), "System Reboot");
            StartRestartProgress();
        }
        return;
    }
    if (const auto notice = VerdictNotice(verdict)) {
        ShowNotice(*notice);
        ui->Label31->hide();
        ui->Label32->hide();
    }
}

void MaintenanceTab::StartRestartProgress()
{
    ui->ProgressBar1->setValue(0);
    ui->ProgressBar1->show();
    if (Timer1)
        Timer1->start();
    window()->setEnabled(false);
}

void MaintenanceTab::BeginRestart()
{
    ui->Label31->show();
    ui->BrowseBtn->setEnabled(false);
    EnableActions(false);
    StartRestartProgress();
}

void MaintenanceTab::RebootBtnClick()
{
    if (!CurrentNotifier().confirm(RebootQuestionText(), LocalizeText("System Reboot"), MessageIcon::Question)) {
        BackToIdle();
        return;
    }
    BeginRestart();
    Send(RebootCommand(CurrentDevice.Address), "System Reboot");
}

void MaintenanceTab::ResetBtnClick()
{
    if (!ConfirmLocalized("This will restore device's default settings. Continue?", "Factory Defaults",
                          MessageIcon::Question)) {
        BackToIdle();
        return;
    }
    BeginRestart();
    Send(FactoryResetCommand(CurrentDevice.Address), "Factory Defaults");
    Send(RebootCommand(CurrentDevice.Address), "Factory Defaults");
}

void MaintenanceTab::Timer1Timer()
{
    if (ui->ProgressBar1->value() >= ProgressMaximum) {
        if (Timer1)
            Timer1->stop();
        ui->Label31->hide();
        ui->Label32->show();
        ui->FirmFileEdit->clear();
        ui->ProgressBar1->setValue(0);
        ui->ProgressBar1->hide();
        EnableActions(true);
        window()->setEnabled(true);
        emit restartWaitedOut();
        return;
    }
    ui->ProgressBar1->setValue(ui->ProgressBar1->value() + ProgressStep);
}
