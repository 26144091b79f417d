#pragma once

#include <memory>

#include "ui/Menuform/ManagementPage.h"

class QTimer;

namespace Ui {
class MaintenanceTab;
}

// The management window's third page (TabSheet3): firmware upload, reboot
// and factory reset, each ending in a restart the progress bar waits out.
class MaintenanceTab : public ManagementPage {
    Q_OBJECT

public:
    explicit MaintenanceTab(QWidget* parent = nullptr);
    ~MaintenanceTab() override;

    void ShowPage() override;
    // The window's progress timer; its ticks run Timer1Timer.
    void setProgressTimer(QTimer* timer);

public slots:
    void TabSheet3Show();
    void BrowseBtnClick();
    void UploadBtnClick();
    void RebootBtnClick();
    void ResetBtnClick();
    void Timer1Timer();

signals:
    // The bar is full: the appliance must be found and logged into again.
    void restartWaitedOut();

private:
    void EnableUploadForChosenFile();
    void BackToIdle();
    void StartRestartProgress();
    // "Wait a minute...", every button off and the progress running: a reboot or reset on its way.
    void BeginRestart();
    void EnableActions(bool enabled);

    std::unique_ptr<Ui::MaintenanceTab> ui;
    QTimer* Timer1 = nullptr;
};
