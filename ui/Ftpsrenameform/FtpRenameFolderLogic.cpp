#include "ui/Ftpsrenameform/FtpRenameFolderLogic.h"

#include "app/DialogName.h"
#include "device/ParameterEncoding.h"
#include "ui/Menuform/ModifyFtpTabLogic.h"

namespace FtpRenameFolderLogic {

DialogOutcome ModRenameFBtnClick(const DialogFields& fields, const std::string& address)
{
    const std::string& oldName = fields.at(OldName);
    const std::string& newName = fields.at(NewName);
    if (auto refusal = ValidateDialogName(newName, oldName, Caption, {NewName, OldName}))
        return *refusal;
    // The new name travels in "folder", the old one in "to_name".
    return Command{CommandUrlPrefix(address, "nas.cgi", "smb.htm", "fm_rename_apply") + "&folder="
                       + EncodeParameter(newName) + "&to_name=" + EncodeParameter(oldName),
                   ModifyFtpTabLogic::ModifyFtpPageName, SendingMode::WithRetry, ModifyFtpTabLogic::ModifyFtpPageNumber};
}

} // namespace FtpRenameFolderLogic
