#include "ui/Menuform/IPConfigTab.h"

#include "app/CurrentDevice.h"
#include "device/StatusPage.h"
#include "discovery/SubnetCheck.h"
#include "ui/Application/AnsiText.h"
#include "ui/Application/WindowText.h"
#include "ui/Menuform/IPConfigTabLogic.h"
#include "ui/Menuform/PageLayout.h"
#include "ui_IPConfigTab.h"

IPConfigTab::IPConfigTab(QWidget* parent) : ManagementPage(parent), ui(std::make_unique<Ui::IPConfigTab>())
{
    ui->setupUi(this);
    UsePlainText(this);
    GroupPair(this, ui->AutoIPRB, ui->StaticIPRB);
    connect(ui->AutoIPRB, &QRadioButton::clicked, this, &IPConfigTab::AutoIPRBClick);
    connect(ui->StaticIPRB, &QRadioButton::clicked, this, &IPConfigTab::StaticIPRBClick);
    connect(ui->IPinforBtn, &QPushButton::clicked, this, &IPConfigTab::IPinforBtnClick);
}

IPConfigTab::~IPConfigTab() = default;

void IPConfigTab::ShowPage() { TabSheet2Show(); }

bool IPConfigTab::automaticChosen() const { return ui->AutoIPRB->isChecked(); }

std::string IPConfigTab::ipAddressText() const { return ToAnsi(ui->IPAddressEdit->text()); }

void IPConfigTab::TabSheet2Show()
{
    const auto values = IPConfigTabLogic::RefreshIPConfig([] { return FetchStatusPage(); });
    (values.automatic ? ui->AutoIPRB : ui->StaticIPRB)->setChecked(true);
    EnableEdits(!values.automatic);
    SetFieldText(ui->IPAddressEdit, ToQString(values.IPAddressEdit));
    SetFieldText(ui->SubMaskEdit, ToQString(values.SubMaskEdit));
    SetFieldText(ui->GatewayEdit, ToQString(values.GatewayEdit));
    SetFieldText(ui->PrimaryDnsEdit, ToQString(values.PrimaryDnsEdit));
    SetFieldText(ui->SecondDnsEdit, ToQString(values.SecondDnsEdit));
}

void IPConfigTab::EnableEdits(bool enabled)
{
    for (QWidget* edit : {ui->IPAddressEdit, ui->SubMaskEdit, ui->GatewayEdit, ui->PrimaryDnsEdit, ui->SecondDnsEdit})
        edit->setEnabled(enabled);
}

void IPConfigTab::AutoIPRBClick() { EnableEdits(false); }

void IPConfigTab::StaticIPRBClick() { EnableEdits(true); }

void IPConfigTab::IPinforBtnClick()
{
    IPConfigTabLogic::IPConfigControls controls;
    controls.AutoIPRB = ui->AutoIPRB->isChecked();
    controls.IPAddressEdit = ToAnsi(ui->IPAddressEdit->text());
    controls.SubMaskEdit = ToAnsi(ui->SubMaskEdit->text());
    controls.GatewayEdit = ToAnsi(ui->GatewayEdit->text());
    controls.PrimaryDnsEdit = ToAnsi(ui->PrimaryDnsEdit->text());
    controls.SecondDnsEdit = ToAnsi(ui->SecondDnsEdit->text());
    const Command command = IPConfigTabLogic::IPinforBtnClick(controls, CurrentDevice.Address);

    ui->IPinforBtn->setEnabled(false);
    Send(command, "IP Information");
    ui->IPinforBtn->setEnabled(true);

    // The sender may have moved the current device to its new address.
    window()->setWindowTitle(ToQString(IPConfigTabLogic::ManagementCaption(CurrentDevice.Address)));
    if (!CheckSubNet(CurrentDevice.Address)) {
        ShowNotice(IPConfigTabLogic::SubnetDifferNotice());
        emit discoveryRequested();
    }
}
