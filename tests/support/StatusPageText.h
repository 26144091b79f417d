#pragma once

#include <string>
#include <utility>
#include <vector>

// A status page as the appliance writes it: one `var name="value";` line per setting.
inline std::string StatusPageText(const std::vector<std::pair<std::string, std::string>>& settings)
{
    std::string page = "<HTML><HEAD><SCRIPT>\r\n";
    for (const auto& [name, value] : settings)
        page += "var " + name + "=\"" + value + "\";\r\n";
    return page + "</SCRIPT></HEAD></HTML>\r\n";
}
