#include "ui/Menuform/FileServerTabLogic.h"

#include "app/LocalizeText.h"
#include "device/ParameterEncoding.h"
#include "device/StatusPage.h"

namespace FileServerTabLogic {

namespace {

std::vector<std::string> Names(const std::string& page, const char* setting)
{
    return ParseOptionValues(ExtractPageValue(page, std::string(setting) + "=\""));
}

} // namespace

FileServerLists ReadFileServerTab(const std::string& page)
{
    return {Names(page, "share_list"), Names(page, "allow_share")};
}

FileServerButtons ButtonsFor(ButtonState state)
{
    FileServerButtons buttons;
    switch (state) {
    case ButtonState::Idle:
        buttons.ShowCreateBtn = true;
        break;
    case ButtonState::FolderSelected:
        buttons.ShowCreateBtn = buttons.ShowRenameBtn = buttons.ShowDeleteBtn = buttons.MovetoPublicBtn = true;
        break;
    case ButtonState::SharedFolderSelected:
        buttons.MovetoSMBBtn = buttons.ShowPublicPassBtn = true;
        break;
    case ButtonState::AllDisabled:
        break;
    }
    return buttons;
}

Command FileServerCommand(const std::string& type, const std::string& parameters, const std::string& address)
{
    return Command{CommandUrlPrefix(address, "nas.cgi", FileServerPageName, type) + parameters, FileServerPageName,
                   SendingMode::WithRetry, FileServerPageNumber};
}

std::variant<Notice, Command> MovetoPublicBtnClick(const std::string& folder, const std::string& address)
{
    if (folder.size() > LongestSharedName)
        return Notice{"Over Maximum (12 characters).", false, "File Server", MessageIcon::Information};
    return FileServerCommand("nas_apply", "&share_list=" + EncodeParameter(folder) + "&add=New", address);
}

Command MovetoSMBBtnClick(const std::string& folder, const std::string& address)
{
    return FileServerCommand("nas_apply", "&allow_share=" + EncodeParameter(folder) + "&del=Remove", address);
}

Notice DeleteQuestion()
{
    // Looked up sentence by sentence, as the translations hold them.
    return Notice{LocalizeText("Selected folder and its contents will be deleted!") + "\n"
                      + LocalizeText("Are you sure?"),
                  true, "File Server", MessageIcon::Question};
}

Command ShowDeleteBtnClick(const std::string& folder, const std::string& address)
{
    return FileServerCommand("fm_rmdir_apply", "&folder=" + EncodeParameter(folder) + "&to_name=", address);
}

} // namespace FileServerTabLogic
