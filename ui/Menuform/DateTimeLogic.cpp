#include "ui/Menuform/DateTimeLogic.h"

#include "device/ParameterEncoding.h"
#include "device/StatusPage.h"
#include "app/TextRules.h"

namespace DateTimeLogic {

const std::array<const char*, 5> TimeServers = {
    "pool.ntp.org",
    "europe.pool.ntp.org",
    "north-america.pool.ntp.org",
    "asia.pool.ntp.org",
    "time.nist.gov",
};

const std::array<const char*, 25> TimeZones = {
    "(GMT-12:00)Eniwetok, Kwajalein",
    "(GMT-11:00)Midway Island, Samoa",
    "(GMT-10:00)Hawaii",
    "(GMT-09:00)Alaska",
    "(GMT-08:00)Pacific Time; Tijuana",
    "(GMT-07:00)Arizona, Mountain Time",
    "(GMT-06:00)Central Time, Tegucigalpa",
    "(GMT-05:00)Bogota, Lima,Eastern Time",
    "(GMT-04:00)Atlantic Time, Caracas, Santiago",
    "(GMT-03:00)Brasilia, Buenos Aires, Georgetown",
    "(GMT-02:00)Mid_Atlantic",
    "(GMT-01:00)Azores, Cape Verde Is.",
    "(GMT)Eniwetok, Kwajalein",
    "(GMT+01:00)Amsterdam,Vienna,Paris,Rom",
    "(GMT+02:00)Athens, Cario, Harare, Jerusalem",
    "(GMT+03:00)Kuwait, Moscow, Tehran",
    "(GMT+04:00)Abuphabi, Baku",
    "(GMT+05:00)Ekaterinburg, Karachi, Islamabad",
    "(GMT+06:00)Astana, Colombo, Dhaka",
    "(GMT+07:00)Bangkok, Hanoi, Jakarka",
    "(GMT+08:00)Beijing, Hong Kong, Singapore, Taipei",
    "(GMT+09:00)Tokyo, Dsaka, Sapporo",
    "(GMT+10:00)Brisbane, Canberra,Syndey, Hobart",
    "(GMT+11:00)Magadan, Solomooon Is.",
    "(GMT+12:00)Auckland, Fiji, Kamchatka",
};

namespace {

std::string Setting(const std::string& page, const char* name)
{
    return ExtractPageValue(page, std::string(name) + "=\"");
}

int ListedServerIndex(const std::string& server)
{
    for (std::size_t i = 0; i < TimeServers.size(); ++i)
        if (server == TimeServers[i])
            return static_cast<int>(i);
    return 0;
}

// An empty zone means the first entry; a zone that is no integer, or lies
// outside the list, leaves the list without selection.
int TimeZoneIndex(const std::string& zone)
{
    if (zone.empty())
        return 0;
    const std::optional<int> offset = ReadDecimalInteger(zone);
    if (!offset || *offset < -12 || *offset > 12)
        return -1;
    return *offset + 12;
}

} // namespace

DateTimeValues FillDateTimeGroup(const std::string& page)
{
    DateTimeValues values;
    values.CurrenttimeLB = Setting(page, "sntp_time");
    values.YearEdit = Setting(page, "sntp_day0");
    values.MonthEdit = Setting(page, "sntp_day1");
    values.DataEdit = Setting(page, "sntp_day2");
    values.HourEdit = Setting(page, "sntp_time0");
    values.MinuteEdit = Setting(page, "sntp_time1");
    values.SecondEdit = Setting(page, "sntp_time2");
    values.sntpAuto = Setting(page, "sntp_auto") == "checked";
    values.listedTimeServer = Setting(page, "sntp_timeserver") == "0";
    const std::string server = Setting(page, "sntp_server");
    values.TimeSSelIndex = ListedServerIndex(server);
    if (!values.listedTimeServer)
        values.MantimeSEdit = server;
    values.TimezoneIndex = TimeZoneIndex(Setting(page, "sntp_zone"));
    return values;
}

DateTimeOutcome DatatimeBtnClick(const DateTimeControls& controls, const std::string& address)
{
    DateTimeOutcome outcome;
    if (controls.TimeSMakeRB && controls.MantimeSEdit.empty())
        outcome.notice = Notice{"Time server is empty", false, "Date and Time", MessageIcon::Information};

    // The index counts from the first entry, so no selection (-1) goes out as -13.
    const int timezone = controls.TimezoneIndex - 12;
    outcome.command.url = CommandUrlPrefix(address, "man.cgi", "sys_sntp.htm", "sntp_apply")
        + "&sntp_time=&day0=" + KeepParameterWhole(controls.YearEdit)
        + "&day1=" + KeepParameterWhole(controls.MonthEdit) + "&day2=" + KeepParameterWhole(controls.DataEdit)
        + "&time0=" + KeepParameterWhole(controls.HourEdit) + "&time1=" + KeepParameterWhole(controls.MinuteEdit)
        + "&time2=" + KeepParameterWhole(controls.SecondEdit)
        + "&R_sntp=" + (controls.SntpAutoRB ? "ENABLE" : "DISABLE")
        + "&R_sntp_server=" + (controls.TimeSSelRB ? "0" : "1")
        + "&Sntp_ip=" + controls.selectedTimeServer + "&sntp_input=" + KeepParameterWhole(controls.MantimeSEdit)
        + "&sntp_timezone=" + std::to_string(timezone);
    outcome.command.page = "sys_sntp.htm";
    outcome.command.mode = SendingMode::Once;
    return outcome;
}

} // namespace DateTimeLogic
