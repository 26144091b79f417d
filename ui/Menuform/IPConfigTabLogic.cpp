#include "ui/Menuform/IPConfigTabLogic.h"

#include "app/LocalizeText.h"
#include "device/ParameterEncoding.h"
#include "device/StatusPage.h"

namespace IPConfigTabLogic {

namespace {

std::string Setting(const std::string& page, const char* name)
{
    return ExtractPageValue(page, std::string(name) + "=\"");
}

} // namespace

IPConfigValues ReadIPConfig(const std::string& page)
{
    IPConfigValues values;
    values.automatic = Setting(page, "ip_type") == "DHCP CLIENT";
    values.IPAddressEdit = Setting(page, "ip");
    values.SubMaskEdit = Setting(page, "submask");
    values.GatewayEdit = Setting(page, "gateway");
    values.PrimaryDnsEdit = Setting(page, "pdns");
    values.SecondDnsEdit = Setting(page, "sdns");
    return values;
}

IPConfigValues RefreshIPConfig(const std::function<std::string()>& fetchPage)
{
    IPConfigValues values = ReadIPConfig(fetchPage());
    for (int repeat = 0; values.IPAddressEdit.empty() && repeat < MostRefreshRepeats; ++repeat)
        values = ReadIPConfig(fetchPage());
    return values;
}

Command IPinforBtnClick(const IPConfigControls& controls, const std::string& address)
{
    // Typed values go in as they stand, except the bytes that would end one
    // and start another parameter.
    const std::string url = controls.AutoIPRB
        ? "http://" + address + "/dhcpc.cgi?redirect=if_cfg.htm&failure=fail.htm&type=dhcpc_apply&ifname="
        : "http://" + address + "/if.cgi?redirect=if_cfg.htm&failure=fail.htm&type=wan_fixip_apply&ip="
            + KeepParameterWhole(controls.IPAddressEdit) + "&submask=" + KeepParameterWhole(controls.SubMaskEdit)
            + "&gateway=" + KeepParameterWhole(controls.GatewayEdit) + "&pdns="
            + KeepParameterWhole(controls.PrimaryDnsEdit) + "&sdns=" + KeepParameterWhole(controls.SecondDnsEdit);
    return Command{url, "if_cgi.htm", SendingMode::WithRetry, std::nullopt};
}

std::string ManagementCaption(const std::string& address) { return LocalizeText("Management") + " " + address; }

Notice SubnetDifferNotice()
{
    return Notice{"Subnet differ, Connection fail", false, "Search for Remote Devices", MessageIcon::Information};
}

} // namespace IPConfigTabLogic
