#pragma once

#include <array>
#include <optional>
#include <string>

#include "app/Notice.h"
#include "device/Command.h"

namespace DateTimeLogic {

// The listed time servers, in the order that gives their index.
extern const std::array<const char*, 5> TimeServers;

// The time-zone entries; entry i stands for the offset i - 12 hours.
extern const std::array<const char*, 25> TimeZones;

// What the Date and Time group shows after a refresh.
struct DateTimeValues {
    std::string CurrenttimeLB;
    std::string YearEdit, MonthEdit, DataEdit;
    std::string HourEdit, MinuteEdit, SecondEdit;
    bool sntpAuto = false;           // SntpAutoRB checked, else SntpDisRB
    bool listedTimeServer = false;   // TimeSSelRB checked (TimeSSelCB shown), else TimeSMakeRB
    int TimeSSelIndex = 0;
    std::optional<std::string> MantimeSEdit; // written only when the typed server is in use
    int TimezoneIndex = 0;                   // -1: no entry selected
};

DateTimeValues FillDateTimeGroup(const std::string& page);

// The group's controls as the user left them.
struct DateTimeControls {
    std::string YearEdit, MonthEdit, DataEdit;
    std::string HourEdit, MinuteEdit, SecondEdit;
    bool SntpAutoRB = false;
    bool TimeSSelRB = false;
    bool TimeSMakeRB = false;
    std::string selectedTimeServer; // text of TimeSSelCB's selected entry, empty when none
    std::string MantimeSEdit;
    int TimezoneIndex = -1;         // -1: no entry selected
};

// The "Time server is empty" notice does not stop the command.
struct DateTimeOutcome {
    std::optional<Notice> notice;
    Command command;
};

DateTimeOutcome DatatimeBtnClick(const DateTimeControls& controls, const std::string& address);

} // namespace DateTimeLogic
