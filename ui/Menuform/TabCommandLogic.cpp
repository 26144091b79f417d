#include "ui/Menuform/TabCommandLogic.h"

#include "app/LocalizeText.h"

void ShowNotice(const Notice& notice)
{
    const std::string text = notice.textLocalized ? notice.text : LocalizeText(notice.text);
    CurrentNotifier().notice(text, LocalizeText(notice.caption), notice.icon);
}

std::string CommandUrlPrefix(const std::string& address, const std::string& script, const std::string& redirect,
                             const std::string& type)
{
    return "http://" + address + "/" + script + "?redirect=" + redirect + "&failure=fail.htm&type=" + type;
}
