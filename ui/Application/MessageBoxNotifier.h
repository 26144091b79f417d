#pragma once

#include "app/Notifier.h"

// Shows each notice as a modal QMessageBox without an owner window.
class MessageBoxNotifier final : public Notifier {
public:
    void notice(const std::string& text, const std::string& caption, MessageIcon icon) override;
    bool confirm(const std::string& text, const std::string& caption, MessageIcon icon) override;
};
