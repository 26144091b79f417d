#include "ui/Menuform/FtpServerTabLogic.h"

#include <stdexcept>

#include "app/TextRules.h"
#include "device/ParameterEncoding.h"
#include "device/StatusPage.h"

namespace FtpServerTabLogic {

namespace {

constexpr const char* Nbsp = "&nbsp;";
constexpr std::size_t NbspLength = 6;
constexpr std::size_t NameColumns = 21;
constexpr std::size_t FieldPadding = 11;
constexpr const char* PageName = "ftp.htm";

std::string Setting(const std::string& page, const char* name) { return ExtractPageValue(page, std::string(name) + "=\""); }

// The text from `start` on; empty when it lies past the end.
std::string From(const std::string& text, std::size_t start) { return start < text.size() ? text.substr(start) : std::string(); }

// The text before the first "&nbsp;", and the line after it and its padding;
// nothing when the line holds no "&nbsp;".
bool TakeField(std::string& line, std::string& field, std::size_t padding)
{
    const std::size_t end = line.find(Nbsp);
    if (end == std::string::npos)
        return false;
    field = line.substr(0, end);
    line = From(line, end + padding * NbspLength);
    return true;
}

std::string FtpCommand(const std::string& address, const char* redirect, const char* type)
{
    return CommandUrlPrefix(address, "nas.cgi", redirect, type);
}

} // namespace

std::vector<FtpAccountRow> ParseAccountList(const std::string& text)
{
    std::vector<FtpAccountRow> rows;
    std::string rest = text;
    for (;;) {
        const std::size_t p = rest.find("value=\"");
        if (p == std::string::npos)
            return rows;
        const std::size_t q = rest.find("\">");
        const std::size_t e = rest.find("</option>");
        const std::string value = (q != std::string::npos && q > p + 7) ? rest.substr(p + 7, q - p - 7) : "";
        // Without "\">" the text starts after the first character, as a search that found nothing leaves it.
        const std::size_t lineStart = q == std::string::npos ? 1 : q + 2;
        std::string line = (e != std::string::npos && e > lineStart) ? rest.substr(lineStart, e - lineStart) : "";

        if (line.find(Nbsp) != std::string::npos) {
            FtpAccountRow row;
            const std::size_t nameEnd = line.find(Nbsp);
            row.userName = line.substr(0, nameEnd);
            const std::size_t padding = nameEnd < NameColumns ? NameColumns - nameEnd : 1;
            line = From(line, nameEnd + padding * NbspLength);
            if (TakeField(line, row.password, FieldPadding) && TakeField(line, row.access, FieldPadding)) {
                const std::size_t stateEnd = line.find(Nbsp);
                if (stateEnd != std::string::npos)
                    row.state = line.substr(0, stateEnd);
            }
            row.value = value;
            rows.push_back(std::move(row));
        }
        // Past the closing tag's first two characters; one character on without one.
        rest = From(rest, e == std::string::npos ? 1 : e + 2);
    }
}

FtpServerValues ReadFtpServerTab(const std::string& page)
{
    FtpServerValues values;
    values.serviceEnabled = Setting(page, "ftps_status") == "ENABLE";
    values.FTPPortEdit = Setting(page, "ftps_port");
    values.anonymousEnabled = Setting(page, "ftp_anon_stu") == "checked";
    values.anonymousReadOnly = Setting(page, "ftp_a_att") == "checked";
    values.AnonyHDCB = ParseOptionValues(Setting(page, "ftps_dir_list"));
    if (!values.AnonyHDCB.empty())
        values.homeIndex = 0;
    const std::string home = DecodeUtf8Text(Setting(page, "ftps_home_def"));
    for (std::size_t i = 0; i < values.AnonyHDCB.size(); ++i)
        if (values.AnonyHDCB[i] == home)
            values.homeIndex = static_cast<int>(i); // the last equal entry wins
    values.AccountLV = ParseAccountList(Setting(page, "ftp_ac_list"));
    return values;
}

bool IsValidPort(int port) { return port == 21 || (port >= 1025 && port <= 65500); }

std::variant<Notice, Command> FTPStatusBtnClick(const std::string& statusEntry, const std::string& portText,
                                                const std::string& address)
{
    const std::optional<int> port = ReadDecimalInteger(portText);
    if (!port)
        throw std::runtime_error("'" + portText + "' is not a valid integer value");
    if (!IsValidPort(*port))
        return Notice{"Invalid port number", false, "FTP Configuration", MessageIcon::Information};
    const char* state = statusEntry == "Enable" ? "ENABLE" : "DISABLE";
    // As typed ("00021" stays "00021"); only a "+" must not turn into a blank.
    return Command{FtpCommand(address, "ftp.htm", "ftps_state_apply") + "&ftps_set=" + state + "&ftps_port="
                       + KeepParameterWhole(portText),
                   PageName, SendingMode::Once, std::nullopt};
}

Command AnonyBtnClick(bool anonymousEnabled, bool readOnly, const std::string& homeFolder, const std::string& address)
{
    return Command{FtpCommand(address, "ftp.htm", "ftps_anonymous_apply") + "&ftp_anon_stu="
                       + (anonymousEnabled ? "ENABLE" : "DISABLE") + "&ftp_a_att=" + (readOnly ? "RO" : "RW")
                       + "&home=" + KeepParameterWhole(homeFolder) + "&anony_Apply=Apply",
                   PageName, SendingMode::WithRetry, std::nullopt};
}

Command AccAddBtnClick(const std::string& address)
{
    // The leading slash keeps the sender from taking a refusal as a reason to send again.
    return Command{FtpCommand(address, "ftp_add.htm", "ftps_userid_set") + "&ftps_user_id=" + NewAccountId,
                   "/ftp.htm", SendingMode::WithRetry, FtpServerPageNumber};
}

Command AccModifyBtnClick(const std::string& value, const std::string& address)
{
    return Command{FtpCommand(address, "ftp_mod.htm", "ftps_userid_set") + "&ftps_user_id=" + KeepParameterWhole(value),
                   PageName, SendingMode::WithRetry, FtpServerPageNumber};
}

Command AccStatusBtnClick(int row, const std::string& address)
{
    return Command{FtpCommand(address, "ftp.htm", "ftps_user_enabled") + "&FTP_AC_LIST=" + std::to_string(row),
                   PageName, SendingMode::WithRetry, FtpServerPageNumber};
}

Command AccDelBtnClick(const std::string& value, const std::string& address)
{
    return Command{FtpCommand(address, "ftp.htm", "ftps_user_del") + "&FTP_AC_LIST=" + KeepParameterWhole(value),
                   PageName, SendingMode::WithRetry, FtpServerPageNumber};
}

Notice AccDelQuestion()
{
    return Notice{"Selected account will be deleted. Are you sure?", false, "Account List", MessageIcon::Question};
}

} // namespace FtpServerTabLogic
