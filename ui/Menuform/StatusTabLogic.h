#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "ui/Menuform/DateTimeLogic.h"
#include "app/Notice.h"
#include "device/Command.h"

namespace StatusTabLogic {

// The Status tab's page number: the page the DHCP command refreshes after its last failed send.
constexpr int StatusPageNumber = 0;

// What the Status tab shows after a refresh from one status page text.
struct StatusTabValues {
    std::string HostEdit, GroupEdit;
    DateTimeLogic::DateTimeValues dateTime;
    std::string IPAddressLB;
    bool dhcpServerOn = false; // DhcpsERB checked, else DhcpsDRB
    std::string MSCAddrLB, FirmverLB, DiskidLB;
    std::string FreesizeLB, TotalsizeLB;
    std::vector<std::string> languages; // LangCB's entries
    int languageIndex = -1;             // -1: no entry selected
};

StatusTabValues ReadStatusTab(const std::string& page);

// The identification handler trims the names it has reached and writes them back into their edits.
struct IdentificationOutcome {
    std::optional<std::string> trimmedHost, trimmedGroup;
    std::variant<Notice, Command> result;
};

IdentificationOutcome identBtnClick(const std::string& hostName, const std::string& groupName,
                                    const std::string& address);

std::variant<Notice, Command> adminBtnClick(const std::string& password, const std::string& verifyPassword,
                                            const std::string& address);

Command NetinfoBtnClick(bool dhcpServerOn, const std::string& address);

// The restart notice follows the command whatever the sending gave.
struct LanguageOutcome {
    Command command;
    Notice afterwards;
};

LanguageOutcome LangBtnClick(int languageIndex, const std::string& address);

} // namespace StatusTabLogic
