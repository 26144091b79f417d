#include "app/Notifier.h"

#include "app/LocalizeText.h"

namespace {

class SilentNotifier final : public Notifier {
public:
    void notice(const std::string&, const std::string&, MessageIcon) override {}
    bool confirm(const std::string&, const std::string&, MessageIcon) override { return false; }
};

SilentNotifier silentNotifier;
Notifier* installedNotifier = &silentNotifier;

} // namespace

Notifier& CurrentNotifier() { return *installedNotifier; }

void SetNotifier(Notifier* notifier) { installedNotifier = notifier ? notifier : &silentNotifier; }

void NoticeLocalized(const std::string& englishText, const std::string& englishCaption, MessageIcon icon)
{
    CurrentNotifier().notice(LocalizeText(englishText), LocalizeText(englishCaption), icon);
}

bool ConfirmLocalized(const std::string& englishText, const std::string& englishCaption, MessageIcon icon)
{
    return CurrentNotifier().confirm(LocalizeText(englishText), LocalizeText(englishCaption), icon);
}
