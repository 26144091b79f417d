#include "ui/Menuform/ModifyFtpTabLogic.h"

#include "app/LocalizeText.h"
#include "device/ParameterEncoding.h"
#include "device/StatusPage.h"

namespace ModifyFtpTabLogic {

namespace {

constexpr const char* ValueMarker = "value=\"";
constexpr const char* FolderListCaption = "Modify FTP Account Folder List";

std::string Setting(const std::string& page, const char* name) { return ExtractPageValue(page, std::string(name) + "=\""); }

// The text from its first entry marker on; the whole text without one.
std::string FromFirstEntry(const std::string& text)
{
    const std::size_t start = text.find(ValueMarker);
    return start == std::string::npos ? text : text.substr(start);
}

std::string FolderCommand(const std::string& address, const char* redirect, const char* type)
{
    return CommandUrlPrefix(address, "nas.cgi", redirect, type);
}

Notice OverMaximum(const char* caption)
{
    return Notice{"Over Maximum (12 characters).", false, caption, MessageIcon::Information};
}

} // namespace

std::vector<std::string> ParseOptionTexts(const std::string& text)
{
    std::vector<std::string> texts;
    std::string rest = FromFirstEntry(text);
    while (rest.find('>') != std::string::npos && rest.find(ValueMarker) != std::string::npos) {
        const std::size_t g = rest.find('>');
        const std::size_t e = rest.find(" </option>");
        const bool hasText = e != std::string::npos && e > g + 1;
        texts.push_back(DecodeUtf8Text(hasText ? rest.substr(g + 1, e - g - 1) : std::string()));
        // Past the blank and the tag's "<"; one character on without them.
        rest = FromFirstEntry(rest.substr(e == std::string::npos ? 1 : e + 2));
    }
    return texts;
}

ModifyFtpValues ReadModifyFtpTab(const std::string& page)
{
    ModifyFtpValues values;
    values.ModFTPAccLabel = Setting(page, "ftps_account");
    values.ModFTPPassEdit = Setting(page, "ftps_account_passwd");
    values.readOnly = Setting(page, "ftps_att") == "checked";
    values.FTPSFLB = ParseOptionValues(Setting(page, "ftps_dir_list"));
    values.FTPSSharLB = ParseOptionTexts(Setting(page, "ftps_share_list"));
    return values;
}

std::variant<Notice, Command> ModFTPBtnClick(const std::string& account, const std::string& password, bool readOnly,
                                             const std::string& address)
{
    // Only a password the appliance reported can be that long: the field takes 12 typed.
    if (password.size() > MostCharacters)
        return OverMaximum("Modify FTP Account");
    return Command{FolderCommand(address, ModifyFtpPageName, "ftps_user_add") + "&Account=" + EncodeParameter(account)
                       + "&Account_passwd=" + EncodeParameter(password) + "&ftp_att=" + (readOnly ? "R" : "W"),
                   ModifyFtpPageName, SendingMode::Once, std::nullopt};
}

std::variant<Notice, Command> ModMovetoSharBtnClick(const std::string& account, const std::string& folder,
                                                    const std::string& address)
{
    if (folder.size() > MostCharacters)
        return OverMaximum(FolderListCaption);
    return Command{FolderCommand(address, ModifyFtpPageName, "ftps_add_share") + "&account=" + EncodeParameter(account)
                       + "&account_List=" + EncodeParameter(folder) + "&op_add=Add",
                   ModifyFtpPageName, SendingMode::WithRetry, ModifyFtpPageNumber};
}

Command ModMovetoFolderBtnClick(const std::string& account, const std::string& sharedFolder,
                                const std::string& address)
{
    return Command{FolderCommand(address, ModifyFtpPageName, "ftps_del_share") + "&account=" + EncodeParameter(account)
                       + "&account_List=" + EncodeParameter(sharedFolder) + "&op_del=Delete",
                   ModifyFtpPageName, SendingMode::WithRetry, ModifyFtpPageNumber};
}

ConfirmedCommand ModDelBtnClick(const std::string& folder, const std::string& address)
{
    Notice question{LocalizeText("Selected folder and its contents will be deleted!") + "\n"
                        + LocalizeText("Are you sure?"),
                    true, FolderListCaption, MessageIcon::Question};
    // The folder is deleted through the file server's page, wherever it is asked from.
    Command command{FolderCommand(address, "smb.htm", "fm_rmdir_apply") + "&folder=" + EncodeParameter(folder)
                        + "&to_name=",
                    ModifyFtpPageName, SendingMode::WithRetry, ModifyFtpPageNumber};
    return {std::move(question), std::move(command)};
}

} // namespace ModifyFtpTabLogic
