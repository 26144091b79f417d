#include "ui/Menuform/ManagementPage.h"

#include "device/CommandSender.h"
#include "ui/Application/BusyWait.h"

ManagementPage::ManagementPage(QWidget* parent) : QWidget(parent) {}

void ManagementPage::FinishBuilding()
{
    if (built)
        return;
    built = true;
    BuildOnFirstShow();
}

void ManagementPage::Carry(const std::variant<Notice, Command>& outcome, const char* caption)
{
    if (const auto* notice = std::get_if<Notice>(&outcome))
        ShowNotice(*notice);
    else
        Send(std::get<Command>(outcome), caption);
}

void ManagementPage::Send(const Command& command, const char* caption)
{
    if (!sender)
        return;
    const BusyWait busy;
    if (busy.nested())
        return; // pressed while another command waits on the appliance
    sender->SendCommand(command, caption);
}

void ManagementPage::showEvent(QShowEvent* event)
{
    // Shown on its own rather than through the management window.
    FinishBuilding();
    QWidget::showEvent(event);
}
