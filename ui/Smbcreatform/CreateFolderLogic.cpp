#include "ui/Smbcreatform/CreateFolderLogic.h"

#include <algorithm>

#include "app/TextRules.h"
#include "device/ParameterEncoding.h"
#include "ui/Menuform/FileServerTabLogic.h"

namespace CreateFolderLogic {

namespace {

constexpr std::size_t LongestName = 12;

Notice FileServerNotice(const char* text) { return Notice{text, false, "File Server", MessageIcon::Information}; }

} // namespace

std::optional<DialogRefusal> CheckNewFolderName(const std::string& name, int field, const Notice& badCharacter)
{
    if (name.empty())
        return DialogRefusal{FileServerNotice("Value is empty"), {}, {}};
    if (name.size() > LongestName)
        return DialogRefusal{FileServerNotice("Over Maximum (12 characters)."), {field}, {}};
    if (!std::all_of(name.begin(), name.end(), IsNameCharacter))
        return DialogRefusal{badCharacter, {field}, {}};
    return std::nullopt;
}

DialogOutcome CreateFBtnClick(const DialogFields& fields, const std::string& address)
{
    const std::string& name = fields.at(FoldernameEdit);
    if (auto refusal = CheckNewFolderName(name, FoldernameEdit,
                                          FileServerNotice("Only alpha-numberic characters accepted (a-z, 0-9).")))
        return *refusal;
    return FileServerTabLogic::FileServerCommand("fm_mkdir_apply", "&folder=" + EncodeParameter(name) + "&to_name=",
                                                 address);
}

} // namespace CreateFolderLogic
