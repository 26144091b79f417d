#include "app/Notice.h"

#include "app/LocalizeText.h"

void ShowNotice(const Notice& notice)
{
    const std::string text = notice.textLocalized ? notice.text : LocalizeText(notice.text);
    CurrentNotifier().notice(text, LocalizeText(notice.caption), notice.icon);
}
