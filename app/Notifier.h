#pragma once

#include <string>

enum class MessageIcon { Error, Information, Question };

// Every modal message box goes through this seam: the windows install one
// that shows a real box, tests install one that records and answers.
// Texts arrive already localized, as ANSI bytes.
class Notifier {
public:
    virtual ~Notifier() = default;
    virtual void notice(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
    // OK and Cancel; true for OK.
    virtual bool confirm(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
};

// The installed notifier; until one is installed, boxes are dropped.
Notifier& CurrentNotifier();
void SetNotifier(Notifier* notifier);

// Shows a box whose text and caption are English texts passed through LocalizeText.
void NoticeLocalized(const std::string& englishText, const std::string& englishCaption, MessageIcon icon);
bool ConfirmLocalized(const std::string& englishText, const std::string& englishCaption, MessageIcon icon);
