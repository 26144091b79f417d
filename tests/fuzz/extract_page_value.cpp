// Status page values and option lists out of arbitrary page text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "device/StatusPage.h"

namespace {

const char* const Names[] = {
    "host_name", "group_name", "sntp_time", "sntp_day0", "sntp_day1", "sntp_day2", "sntp_time0", "sntp_time1",
    "sntp_time2", "sntp_auto", "sntp_timeserver", "sntp_server", "sntp_zone", "ip_addr", "dhcps_option",
    "mac_addr", "firm_ver", "disk_id", "free_size", "total_size", "default_lang", "lang_list", "ip_type", "ip",
    "submask", "gateway", "pdns", "sdns", "share_list", "allow_share", "ftps_status", "ftps_port", "ftp_anon_stu",
    "ftp_a_att", "ftps_dir_list", "ftps_home_def", "ftp_ac_list", "ftps_account", "ftps_account_passwd",
    "ftps_att", "ftps_share_list", "disk_idle_value", "disk_fix_enable", "disk_scan"};

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string page(reinterpret_cast<const char*>(data), size);
    for (const char* name : Names) {
        const std::string key = std::string(name) + "=\"";
        const std::string value = ExtractPageValue(page, key);
        // A value is a piece of the page that holds no full terminator.
        Check(value.size() <= page.size());
        Check(value.find("\";\r\n") == std::string::npos);
        Check(value.empty() || page.find(key + value + "\";\r\n") != std::string::npos);
        const std::vector<std::string> names = ParseOptionValues(value);
        Check(names.size() <= value.size());
    }
    // The whole page as one list, too: the parser must end on any text.
    const std::vector<std::string> names = ParseOptionValues(page);
    Check(names.size() <= page.size());
    return 0;
}
