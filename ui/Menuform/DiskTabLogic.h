#pragma once

#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "app/Notice.h"
#include "device/Command.h"

namespace DiskTabLogic {

// The Disk Utility page's number; its commands name the appliance's disk page.
constexpr int DiskPageNumber = 6;
constexpr const char* DiskPageName = "sto.htm";
// Timer2 ticks once a second; the report is read again every this many ticks.
constexpr int TicksPerRefresh = 30;
// Reads of the status page one report refresh tries before it gives up.
constexpr int RefreshReads = 8;

// What a show of the page puts into its controls.
struct DiskTabValues {
    std::string DiskSleepTimeEdit;
    bool DiskDelMsgBtnEnabled = true;
    std::vector<std::string> DiskScanMO;
};

DiskTabValues ReadDiskTab(const std::string& page);

// The report's lines, split at each LF; a CR before it stays, a final LF adds no line.
std::vector<std::string> FillScanReport(const std::string& text);

// The minutes within a "disk_idle_value" value, which may run on into the next
// setting of its page line: what precedes the first quote followed by ";".
std::string SleepTimeText(const std::string& idleValue);

// A question asked first; the command goes out only on OK.
struct ConfirmedCommand {
    Notice question;
    Command command;
};

ConfirmedCommand DiskFormatBtnClick(const std::string& address);
ConfirmedCommand DiskScanBtnClick(const std::string& address);
ConfirmedCommand DiskDelMsgBtnClick(const std::string& address);

// 0 or 5-60 sends the typed text; other numbers give "Invalid Sleep Time".
// A text that is no integer throws std::runtime_error with the application's
// error report text.
std::variant<Notice, Command> DiskSleepBtnClick(const std::string& typed, const std::string& address);

// Timer2's ticks since the report was last read.
class TickCounter {
public:
    // One tick; true when the report is due (the count starts again).
    bool Tick();
    void Reset() { ticks = 0; }

private:
    int ticks = 0;
};

// The report of the first non-empty page among up to RefreshReads reads; nothing when all were empty.
std::optional<std::vector<std::string>> ReadScanReport(const std::function<std::string()>& fetchPage);

} // namespace DiskTabLogic
