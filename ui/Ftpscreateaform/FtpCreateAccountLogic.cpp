#include "ui/Ftpscreateaform/FtpCreateAccountLogic.h"

#include "app/DialogName.h"
#include "device/ParameterEncoding.h"
#include "ui/Menuform/FtpServerTabLogic.h"

namespace FtpCreateAccountLogic {

DialogOutcome FTPAddAccBtnClick(const DialogFields& fields, const std::string& address)
{
    const std::string& name = fields.at(AccountName);
    if (auto refusal = ValidateDialogName(name, std::nullopt, Caption, {AccountName, std::nullopt}))
        return *refusal;
    // An account that exists already is refused by the appliance and sent again.
    return Command{CommandUrlPrefix(address, "nas.cgi", "ftp.htm", "ftps_user_add") + "&Account="
                       + EncodeParameter(name) + "&ftp_att=R",
                   "ftp.htm", SendingMode::WithRetry, FtpServerTabLogic::FtpServerPageNumber};
}

} // namespace FtpCreateAccountLogic
