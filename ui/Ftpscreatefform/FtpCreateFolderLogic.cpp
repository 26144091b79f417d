#include "ui/Ftpscreatefform/FtpCreateFolderLogic.h"

#include "app/DialogName.h"
#include "device/ParameterEncoding.h"

namespace FtpCreateFolderLogic {

DialogOutcome ModCreateFBtnClick(const DialogFields& fields, const std::string& address)
{
    const std::string& name = fields.at(FolderName);
    if (auto refusal = ValidateDialogName(name, std::nullopt, Caption, {FolderName, std::nullopt}))
        return *refusal;
    return Command{CommandUrlPrefix(address, "nas.cgi", "smb.htm", "fm_mkdir_apply") + "&folder="
                       + EncodeParameter(name) + "&to_name=",
                   "ftp_mod.htm", SendingMode::WithRetry, 5};
}

} // namespace FtpCreateFolderLogic
