#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "device/CommandSender.h"
#include "support/RecordingNotifier.h"

// Stands in for the windows behind the command sender: logs what the sender
// asks of them, in order, into a log it may share with a scripted transport.
class RecordingCommandWindows final : public CommandSenderWindows {
public:
    using EventLog = std::vector<std::string>;

    RecordingCommandWindows(EventLog& log, RecordingNotifier& notifier) : log(log), notifier(notifier) {}

    int ActiveTabIndex() override
    {
        log.push_back("active tab");
        if (!activeTabs.empty()) {
            activeTab = activeTabs.front();
            activeTabs.pop_front();
        }
        return activeTab;
    }
    void RefreshPage(int pageNumber) override
    {
        log.push_back("refresh " + std::to_string(pageNumber));
        if (onRefresh)
            onRefresh(pageNumber);
    }
    std::string NewPasswordText() override { return newPassword; }
    bool AutomaticIPChosen() override { return automaticIP; }
    std::string IPAddressText() override { return ipAddress; }
    void HideManagementWindow() override
    {
        log.push_back("hide management after " + std::to_string(notifier.boxes.size()) + " box");
    }
    void ShowDiscoveryAndSearch() override { log.push_back("discovery search"); }

    EventLog& log;
    RecordingNotifier& notifier;
    int activeTab = 0;
    std::deque<int> activeTabs; // read in turn, the last one then stays
    std::string newPassword = "new pass";
    bool automaticIP = false;
    std::string ipAddress = "192.168.1.77";
    std::function<void(int)> onRefresh; // what the page's show handler would do
};
