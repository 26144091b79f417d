#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/Menuform/DiskTabLogic.h"
#include "ui/Menuform/ManagementPage.h"

class QTimer;

namespace Ui {
class DiskTab;
}

// The management window's seventh page (TabSheet7): format the appliance's
// disk, set its sleep time, run a disk scan and watch its report.
class DiskTab : public ManagementPage {
    Q_OBJECT

public:
    explicit DiskTab(QWidget* parent = nullptr);
    ~DiskTab() override;

    void ShowPage() override;
    // The window's Timer2: the scan report is watched on its ticks, whichever
    // page is shown, until "Ignore Error Messages" or the window's closing.
    void setScanTimer(QTimer* timer);

public slots:
    void TabSheet7Show();
    void DiskFormatBtnClick();
    void DiskSleepBtnClick();
    void DiskScanBtnClick();
    void DiskDelMsgBtnClick();
    void DiskRefBtnClick();
    void Timer2Timer();
    void RefreshScanReport();

private:
    void ShowReport(const std::vector<std::string>& lines);
    // Asks the question; on OK sends the command and says so.
    bool SendIfConfirmed(const DiskTabLogic::ConfirmedCommand& asked);

    std::unique_ptr<Ui::DiskTab> ui;
    QTimer* Timer2 = nullptr;
    DiskTabLogic::TickCounter ticks;
};
