#include "device/StatusPage.h"

#include <string_view>

#include "app/CurrentDevice.h"
#include "app/Notifier.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"

namespace {

constexpr int StatusPageTries = 8;
constexpr int WaitBeforeTryMs = 20;
constexpr std::string_view ValueTerminator = "\";\r\n";
constexpr std::string_view OptionValueMarker = "value=\"";
constexpr std::string_view OptionValueEnd = "\">";

StatusPageFetcher& InstalledFetcher()
{
    static StatusPageFetcher fetcher;
    return fetcher;
}

PageResponse FetchOnce(const std::string& path)
{
    const StatusPageFetcher& fetcher = InstalledFetcher();
    if (fetcher)
        return fetcher(CurrentDevice.Address, CurrentDevice.UserName, CurrentDevice.Password, path);
    return FetchPage(CurrentDevice.Address, CurrentDevice.UserName, CurrentDevice.Password, path);
}

// The first occurrence of a pattern at or after a moving start, remembered
// between calls so that a long list is scanned once instead of once per entry.
class NextOccurrence {
public:
    NextOccurrence(std::string_view text, std::string_view pattern) : text(text), pattern(pattern) {}

    std::size_t from(std::size_t start)
    {
        if (!searched || (found != std::string_view::npos && found < start)) {
            found = text.find(pattern, start);
            searched = true;
        }
        return found;
    }

private:
    std::string_view text;
    std::string_view pattern;
    std::size_t found = std::string_view::npos;
    bool searched = false;
};

} // namespace

void SetStatusPageFetcher(StatusPageFetcher fetcher) { InstalledFetcher() = std::move(fetcher); }

std::string FetchStatusPage()
{
    PageResponse response;
    int tries = 0;
    do {
        SleepMs(WaitBeforeTryMs);
        response = FetchOnce("/utility_use.htm");
        ++tries;
    } while (response.body.empty() && response.status <= 0 && tries < StatusPageTries);

    if (response.body.empty() || response.status != 200)
        NoticeLocalized("Connection Fail", "Connect", MessageIcon::Error);
    return response.body;
}

std::string ExtractPageValue(const std::string& page, const std::string& key)
{
    const std::size_t keyAt = page.find(key);
    if (keyAt == std::string::npos)
        return {};
    const std::size_t terminatorAt = page.find(ValueTerminator, keyAt);
    if (terminatorAt == std::string::npos)
        return {};
    const std::size_t valueAt = keyAt + key.size();
    // A terminator that starts at the key's own closing quote leaves no value.
    if (terminatorAt <= valueAt)
        return {};
    return page.substr(valueAt, terminatorAt - valueAt);
}

std::vector<std::string> ParseOptionValues(const std::string& value)
{
    std::vector<std::string> names;
    const std::string_view text(value);
    NextOccurrence marker(text, OptionValueMarker);
    NextOccurrence valueEnd(text, OptionValueEnd);

    // The rest is text[restAt..]; both searches run from the start of the rest,
    // so a "\">" before the marker ends an entry with an empty name.
    std::size_t restAt = 0;
    while (restAt < text.size()) {
        const std::size_t markerAt = marker.from(restAt);
        if (markerAt == std::string_view::npos)
            break;
        const std::size_t endAt = valueEnd.from(restAt);
        const std::size_t nameAt = markerAt + OptionValueMarker.size();
        if (endAt != std::string_view::npos && endAt > nameAt)
            names.push_back(DecodeUtf8Text(std::string(text.substr(nameAt, endAt - nameAt))));
        else
            names.emplace_back();
        // Without any "\">" at least one character goes, so the loop always ends.
        restAt = endAt == std::string_view::npos ? restAt + 1 : endAt + OptionValueEnd.size();
    }
    return names;
}

std::string DecodeUtf8Text(const std::string& bytes)
{
    // The name ends at its first NUL, as a C string would; any length is converted whole.
    const std::string_view name(bytes.c_str());
    return Utf8ToAnsi(name);
}
