#pragma once

#include <QWidget>

#include <variant>

#include "app/Notice.h"
#include "device/Command.h"

class CommandSender;

// One page of the management window. The window runs the page's show
// handler (TabSheet<n>Show) by page number, finishes the page's building
// before it is first seen, and gives it the sender its buttons go through.
class ManagementPage : public QWidget {
    Q_OBJECT

public:
    explicit ManagementPage(QWidget* parent = nullptr);

    // The page's show handler: reads the appliance's status page afresh and fills the page.
    virtual void ShowPage() = 0;
    // Runs BuildOnFirstShow once; the window calls it before it first shows.
    void FinishBuilding();
    void setCommandSender(CommandSender* commandSender) { sender = commandSender; }

protected:
    // What only a shown page needs (list popups, sizes that follow the captions).
    virtual void BuildOnFirstShow() {}
    // A handler's outcome: the notice shown, or the command sent. The caption
    // is the group's or page's, for the box of a change the appliance refused.
    void Carry(const std::variant<Notice, Command>& outcome, const char* caption);
    void Send(const Command& command, const char* caption);

    void showEvent(QShowEvent* event) override;

private:
    CommandSender* sender = nullptr;
    bool built = false;
};
