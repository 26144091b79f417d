#include "device/Command.h"

std::string CommandUrlPrefix(const std::string& address, const std::string& script, const std::string& redirect,
                             const std::string& type)
{
    return "http://" + address + "/" + script + "?redirect=" + redirect + "&failure=fail.htm&type=" + type;
}
