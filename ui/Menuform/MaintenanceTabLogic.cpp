#include "ui/Menuform/MaintenanceTabLogic.h"

#include "app/LocalizeText.h"

namespace MaintenanceTabLogic {

namespace {

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

Command MaintenanceCommand(const std::string& address, const char* type)
{
    return Command{CommandUrlPrefix(address, "man.cgi", "reboot.htm", type), "maintain.htm", SendingMode::Once,
                   std::nullopt};
}

} // namespace

THttpDataStream BuildFirmwareUpload(const std::string& filePath)
{
    THttpDataStream body;
    body.AddFormField("redirect", "man_firm.htm");
    body.AddFormField("failure", "fail.htm");
    body.AddFormField("type", "file_upload");
    body.AddFile("filename", filePath, "application/octet-stream");
    body.FinishBody();
    return body;
}

UploadVerdict ClassifyUploadOutcome(const UploadOutcome& outcome)
{
    if (outcome.success)
        return UploadVerdict::NoVerdict;
    // The upload script answers a finished upload with a redirect.
    if (Contains(outcome.message, "302"))
        return UploadVerdict::Succeeded;
    // The appliance drops the connection on an image over its limit.
    if (Contains(outcome.message, "10053"))
        return UploadVerdict::KernelTooLarge;
    return UploadVerdict::UploadFailed;
}

std::optional<Notice> VerdictNotice(UploadVerdict verdict)
{
    switch (verdict) {
    case UploadVerdict::KernelTooLarge:
        return Notice{"Kernel Size is too large.", false, "Firmware Upload", MessageIcon::Information};
    case UploadVerdict::UploadFailed: return Notice{"Upload fail!", false, "Firmware Upload", MessageIcon::Information};
    case UploadVerdict::NoVerdict:
    case UploadVerdict::Succeeded: break;
    }
    return std::nullopt;
}

Notice FileOpenNotice(const std::string& reason) { return Notice{reason, true, "Firmware Upload", MessageIcon::Error}; }

std::string UploadUrl(const std::string& address) { return "http://" + address + "/man.cgi"; }

std::string UploadReferer(const std::string& address) { return "http://" + address + "/maintain.htm"; }

Command RebootCommand(const std::string& address) { return MaintenanceCommand(address, "reboot"); }

Command FactoryResetCommand(const std::string& address) { return MaintenanceCommand(address, "default_setting"); }

std::string RebootLabelText()
{
    return LocalizeText("Select Reboot to perform a software restart.") + "\n\n"
        + LocalizeText("The SYS LED blinks as the device restarts and then remains on if the restart is successful.")
        + "\n\n" + LocalizeText("") + "\n\n" + LocalizeText("Wait a minute before logging into the device.");
}

std::string ResetLabelText()
{
    return LocalizeText("Select Reset to clear all configuration and restore default settings.") + "\n\n"
        + LocalizeText("Please select \"Reboot\" after reset.");
}

std::string RebootQuestionText()
{
    return LocalizeText("This will reboot the device.") + "\n"
        + LocalizeText("All open connections will reset. Continue?");
}

std::string UploadSuccessQuestionText()
{
    return LocalizeText("Firmware Upload Successful.") + "\n" + LocalizeText("Reboot...");
}

} // namespace MaintenanceTabLogic
