#include "ui/Ftpscreatefform/FtpCreateFolderLogic.h"

#include "app/DialogName.h"
#include "device/ParameterEncoding.h"
#include "ui/Menuform/ModifyFtpTabLogic.h"

namespace FtpCreateFolderLogic {

DialogOutcome ModCreateFBtnClick(const DialogFields& fields, const std::string& address)
{
    const std::string& name = fields.at(FolderName);
    if (auto refusal = ValidateDialogName(name, std::nullopt, Caption, {FolderName, std::nullopt}))
        return *refusal;
    return Command{CommandUrlPrefix(address, "nas.cgi", "smb.htm", "fm_mkdir_apply") + "&folder="
                       + EncodeParameter(name) + "&to_name=",
                   ModifyFtpTabLogic::ModifyFtpPageName, SendingMode::WithRetry, ModifyFtpTabLogic::ModifyFtpPageNumber};
}

} // namespace FtpCreateFolderLogic
