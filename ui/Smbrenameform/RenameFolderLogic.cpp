#include "ui/Smbrenameform/RenameFolderLogic.h"

#include "device/ParameterEncoding.h"
#include "ui/Menuform/FileServerTabLogic.h"
#include "ui/Smbcreatform/CreateFolderLogic.h"

namespace RenameFolderLogic {

DialogOutcome RenameFBtnClick(const DialogFields& fields, const std::string& address)
{
    const std::string& name = fields.at(NewFoldernameEdit);
    const Notice badCharacter{"Only English characters or numbers accepted.", false, "SMB Server",
                              MessageIcon::Information};
    if (auto refusal = CreateFolderLogic::CheckNewFolderName(name, NewFoldernameEdit, badCharacter))
        return *refusal;
    return FileServerTabLogic::FileServerCommand(
        "fm_rename_apply",
        "&folder=" + EncodeParameter(name) + "&to_name=" + EncodeParameter(fields.at(OldFoldernameEdit)), address);
}

} // namespace RenameFolderLogic
