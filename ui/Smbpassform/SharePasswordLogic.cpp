#include "ui/Smbpassform/SharePasswordLogic.h"

#include "device/ParameterEncoding.h"
#include "ui/Menuform/FileServerTabLogic.h"

namespace SharePasswordLogic {

namespace {

constexpr std::size_t LongestPassword = 12;

DialogRefusal Refused(const char* text)
{
    const std::vector<int> all{PublicFolderEdit, PublicPassEdit, VerifyPassEdit};
    return DialogRefusal{Notice{text, false, "File Server", MessageIcon::Information}, all, all};
}

} // namespace

DialogOutcome PublicPassBtnClick(const DialogFields& fields, const std::string& address)
{
    const std::string& password = fields.at(PublicPassEdit);
    const std::string& verification = fields.at(VerifyPassEdit);
    if (password.size() > LongestPassword || verification.size() > LongestPassword)
        return Refused("Over Maximum (12 characters).");
    if (password != verification)
        return Refused("New password entries do not match!");
    return FileServerTabLogic::FileServerCommand("nas_mod",
                                                 "&folder=" + EncodeParameter(fields.at(PublicFolderEdit))
                                                     + "&password1=" + EncodeParameter(password)
                                                     + "&password2=" + EncodeParameter(verification),
                                                 address);
}

} // namespace SharePasswordLogic
