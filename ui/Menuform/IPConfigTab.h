#pragma once

#include <memory>
#include <string>

#include "ui/Menuform/ManagementPage.h"

namespace Ui {
class IPConfigTab;
}

// The management window's second page (TabSheet2): how the appliance gets
// its address, and a new static address or the automatic choice.
class IPConfigTab : public ManagementPage {
    Q_OBJECT

public:
    explicit IPConfigTab(QWidget* parent = nullptr);
    ~IPConfigTab() override;

    void ShowPage() override;

    // What the sender reads after an address command.
    bool automaticChosen() const;
    std::string ipAddressText() const;

public slots:
    void TabSheet2Show();
    void AutoIPRBClick();
    void StaticIPRBClick();
    void IPinforBtnClick();

signals:
    // The appliance now answers outside every local subnet: back to the search.
    void discoveryRequested();

private:
    void EnableEdits(bool enabled);

    std::unique_ptr<Ui::IPConfigTab> ui;
};
