#include "ui/Menuform/StatusTabLogic.h"

#include "app/LocalizeText.h"
#include "device/ParameterEncoding.h"
#include "device/StatusPage.h"
#include "app/TextRules.h"

namespace StatusTabLogic {

namespace {

std::string Setting(const std::string& page, const char* name)
{
    return ExtractPageValue(page, std::string(name) + "=\"");
}

// Names joined by "#"; a trailing "#" gives a last empty entry, an empty value one empty entry.
std::vector<std::string> SplitLanguages(const std::string& list)
{
    std::vector<std::string> languages;
    std::size_t start = 0;
    for (;;) {
        const std::size_t hash = list.find('#', start);
        if (hash == std::string::npos) {
            languages.push_back(list.substr(start));
            return languages;
        }
        languages.push_back(list.substr(start, hash - start));
        start = hash + 1;
    }
}

// An empty index means the first language; one that is no integer or lies
// outside the list leaves the list without selection.
int LanguageIndex(const std::string& defaultLanguage, std::size_t count)
{
    if (defaultLanguage.empty())
        return 0;
    const std::optional<int> index = ReadDecimalInteger(defaultLanguage);
    if (!index || *index < 0 || static_cast<std::size_t>(*index) >= count)
        return -1;
    return *index;
}

// The first refused byte of name, if any.
std::optional<char> RefusedCharacter(const std::string& name)
{
    for (char byte : name)
        if (!IsNameCharacter(byte))
            return byte;
    return std::nullopt;
}

bool StartsWithDigit(const std::string& text) { return !text.empty() && text[0] >= '0' && text[0] <= '9'; }

Notice IdentificationNotice(std::string text, MessageIcon icon)
{
    return Notice{std::move(text), false, "Identification", icon};
}

Notice InvalidNameNotice(char refused, const char* fieldName, const std::string& name)
{
    return Notice{LocalizeText("Invalid value ") + refused + LocalizeText(fieldName) + " " + name, true,
                  "Identification", MessageIcon::Information};
}

} // namespace

StatusTabValues ReadStatusTab(const std::string& page)
{
    StatusTabValues values;
    values.HostEdit = Setting(page, "host_name");
    values.GroupEdit = Setting(page, "group_name");
    values.dateTime = DateTimeLogic::FillDateTimeGroup(page);
    values.IPAddressLB = Setting(page, "ip_addr");
    values.dhcpServerOn = Setting(page, "dhcps_option") == "checked";
    values.MSCAddrLB = Setting(page, "mac_addr");
    values.FirmverLB = Setting(page, "firm_ver");
    values.DiskidLB = Setting(page, "disk_id");
    values.FreesizeLB = TrimText(Setting(page, "free_size"));
    values.TotalsizeLB = Setting(page, "total_size");
    const std::string defaultLanguage = Setting(page, "default_lang");
    values.languages = SplitLanguages(Setting(page, "lang_list"));
    values.languageIndex = LanguageIndex(defaultLanguage, values.languages.size());
    return values;
}

IdentificationOutcome identBtnClick(const std::string& hostName, const std::string& groupName,
                                    const std::string& address)
{
    IdentificationOutcome outcome;
    // Both rules look at the trimmed names, so blanks never pass as a name.
    outcome.trimmedHost = TrimText(hostName);
    outcome.trimmedGroup = TrimText(groupName);
    if (outcome.trimmedHost->empty() || outcome.trimmedGroup->empty()) {
        outcome.result = IdentificationNotice("Value is empty", MessageIcon::Error);
        return outcome;
    }
    if (StartsWithDigit(*outcome.trimmedHost) || StartsWithDigit(*outcome.trimmedGroup)) {
        outcome.result = IdentificationNotice("First character cannot be a number (0~9)", MessageIcon::Information);
        return outcome;
    }
    if (const auto refused = RefusedCharacter(*outcome.trimmedHost)) {
        outcome.result = InvalidNameNotice(*refused, "Host Name", *outcome.trimmedHost);
        return outcome;
    }
    if (const auto refused = RefusedCharacter(*outcome.trimmedGroup)) {
        outcome.result = InvalidNameNotice(*refused, "Group Name", *outcome.trimmedGroup);
        return outcome;
    }
    outcome.result = Command{CommandUrlPrefix(address, "nas.cgi", "id.htm", "cifs_config_apply")
                                 + "&enable=1&hostname=" + *outcome.trimmedHost
                                 + "&group_name=" + *outcome.trimmedGroup,
                             "id.htm", SendingMode::Once, std::nullopt};
    return outcome;
}

std::variant<Notice, Command> adminBtnClick(const std::string& password, const std::string& verifyPassword,
                                            const std::string& address)
{
    if (password.empty() || verifyPassword.empty())
        return Notice{"Password cannot be empty!", false, "Administration", MessageIcon::Information};
    if (password != verifyPassword)
        return Notice{"New password entries do not match!", false, "Administration", MessageIcon::Information};
    return Command{CommandUrlPrefix(address, "man.cgi", "sys_auth.htm", "auth_apply")
                       + "&TF_password=" + EncodeParameter(password)
                       + "&TF_passwordl=" + EncodeParameter(verifyPassword),
                   "sys_auth.htm", SendingMode::Once, std::nullopt};
}

Command NetinfoBtnClick(bool dhcpServerOn, const std::string& address)
{
    return Command{CommandUrlPrefix(address, "dhcps.cgi", "status.htm", "dhcps_apply") + "&R_dhcps="
                       + (dhcpServerOn ? "ENABLE" : "DISABLE")
                       + "&TF_wins=&TF_ippoolmin=2&TF_ippoolmax=254&TF_lease_day=1&TF_lease_hr=0&TF_lease_min=0",
                   "status.htm", SendingMode::WithRetry, StatusPageNumber};
}

LanguageOutcome LangBtnClick(int languageIndex, const std::string& address)
{
    return LanguageOutcome{
        Command{CommandUrlPrefix(address, "nas.cgi", "status.htm", "nas_lang_apply") + "&lang="
                    + std::to_string(languageIndex),
                "status.htm", SendingMode::WithRetry, std::nullopt},
        Notice{"Please restart system to apply changes!", false, "Language", MessageIcon::Question},
    };
}

} // namespace StatusTabLogic
