// The Status tab's fill from arbitrary page text: the language list, the
// remembered language, the time zone and the time server must come out
// consistent whatever the appliance wrote.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ui/Menuform/StatusTabLogic.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string page(reinterpret_cast<const char*>(data), size);
    const auto values = StatusTabLogic::ReadStatusTab(page);

    Check(!values.languages.empty());
    Check(values.languageIndex >= -1 && values.languageIndex < static_cast<int>(values.languages.size()));
    for (const std::string& language : values.languages)
        Check(language.find('#') == std::string::npos);
    if (!values.FreesizeLB.empty()) {
        Check(static_cast<unsigned char>(values.FreesizeLB.front()) > 0x20);
        Check(static_cast<unsigned char>(values.FreesizeLB.back()) > 0x20);
    }

    const auto& time = values.dateTime;
    Check(time.TimezoneIndex >= -1 && time.TimezoneIndex < 25);
    Check(time.TimeSSelIndex >= 0 && time.TimeSSelIndex < 5);
    Check(time.MantimeSEdit.has_value() != time.listedTimeServer);
    return 0;
}
