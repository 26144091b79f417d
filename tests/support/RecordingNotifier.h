#pragma once

#include <deque>
#include <string>
#include <vector>

#include "app/Notifier.h"

// Records every box instead of showing it; confirmations take scripted answers (default OK).
class RecordingNotifier final : public Notifier {
public:
    struct Box {
        std::string text, caption;
        MessageIcon icon;
        bool confirmation;
    };
    RecordingNotifier() { SetNotifier(this); }
    ~RecordingNotifier() override { SetNotifier(nullptr); }

    void notice(const std::string& text, const std::string& caption, MessageIcon icon) override
    {
        boxes.push_back({text, caption, icon, false});
    }
    bool confirm(const std::string& text, const std::string& caption, MessageIcon icon) override
    {
        boxes.push_back({text, caption, icon, true});
        if (answers.empty())
            return true;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<Box> boxes;
    std::deque<bool> answers;
};
