#include "ui/Menuform/DiskTabLogic.h"

#include <stdexcept>

#include "app/LocalizeText.h"
#include "app/TextRules.h"
#include "device/ParameterEncoding.h"
#include "device/StatusPage.h"

namespace DiskTabLogic {

namespace {

std::string Setting(const std::string& page, const char* name)
{
    return ExtractPageValue(page, std::string(name) + "=\"");
}

Command Once(const std::string& url) { return Command{url, DiskPageName, SendingMode::Once, std::nullopt}; }

std::vector<std::string> ReportOf(const std::string& page) { return FillScanReport(Setting(page, "disk_scan")); }

} // namespace

std::vector<std::string> FillScanReport(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t lf = text.find('\n'); lf != std::string::npos; lf = text.find('\n', start)) {
        lines.push_back(text.substr(start, lf - start));
        start = lf + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

std::string SleepTimeText(const std::string& idleValue)
{
    const std::size_t end = idleValue.find("\";");
    // A value that ends at its own terminator is the number itself.
    const std::string text = end == std::string::npos ? TrimText(idleValue) : idleValue.substr(0, end);
    return text.empty() ? "0" : text;
}

DiskTabValues ReadDiskTab(const std::string& page)
{
    DiskTabValues values;
    values.DiskSleepTimeEdit = SleepTimeText(Setting(page, "disk_idle_value"));
    values.DiskDelMsgBtnEnabled = Setting(page, "disk_fix_enable") != "DISABLE";
    values.DiskScanMO = ReportOf(page);
    return values;
}

ConfirmedCommand DiskFormatBtnClick(const std::string& address)
{
    // Looked up sentence by sentence, as the translations hold them.
    Notice question{LocalizeText("This will format the hard disk and erase all data from the disk!") + "\n"
                        + LocalizeText("Are you sure?"),
                    true, "Disk Tools", MessageIcon::Question};
    return {question, Once(CommandUrlPrefix(address, "nas.cgi", "sto_ok.htm", "IDE_init"))};
}

ConfirmedCommand DiskScanBtnClick(const std::string& address)
{
    return {
        Notice{"This operation will take some time to complete! Continue?", false, "Scan Disk", MessageIcon::Question},
        Once(CommandUrlPrefix(address, "nas.cgi", "sto.htm", "ide_scandisk_start"))};
}

ConfirmedCommand DiskDelMsgBtnClick(const std::string& address)
{
    return {Notice{"Are you sure to clear scan result?", false, "Scan Disk", MessageIcon::Question},
            Once(CommandUrlPrefix(address, "nas.cgi", "sto.htm", "ide_fixdisk_start"))};
}

std::variant<Notice, Command> DiskSleepBtnClick(const std::string& typed, const std::string& address)
{
    const std::optional<int> minutes = ReadDecimalInteger(typed);
    if (!minutes)
        throw std::runtime_error("'" + typed + "' is not a valid integer value");
    if (*minutes != 0 && (*minutes < 5 || *minutes > 60))
        return Notice{"Invalid Sleep Time", false, "Disk Tools", MessageIcon::Information};
    // As typed ("05" stays "05"); only a "+" must not turn into a blank.
    return Command{CommandUrlPrefix(address, "nas.cgi", "sto.htm", "ide_set") + "&idle=" + KeepParameterWhole(typed),
                   DiskPageName, SendingMode::WithRetry, std::nullopt};
}

bool TickCounter::Tick()
{
    if (++ticks < TicksPerRefresh)
        return false;
    ticks = 0;
    return true;
}

std::optional<std::vector<std::string>> ReadScanReport(const std::function<std::string()>& fetchPage)
{
    for (int read = 0; read < RefreshReads; ++read) {
        const std::string page = fetchPage();
        if (!page.empty())
            return ReportOf(page);
    }
    return std::nullopt;
}

} // namespace DiskTabLogic
