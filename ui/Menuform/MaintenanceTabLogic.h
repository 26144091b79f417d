#pragma once

#include <optional>
#include <string>

#include "app/Notice.h"
#include "device/Command.h"
#include "device/MultipartBody.h"

namespace MaintenanceTabLogic {

// The Maintenance page's number.
constexpr int MaintenancePageNumber = 2;
// The restart progress: 30 ticks of one second fill the bar.
constexpr int ProgressMaximum = 300;
constexpr int ProgressStep = 10;
constexpr int ProgressTickMs = 1000;

// The firmware form: three fields and the file under its full path, finished
// and rewound. Throws std::runtime_error naming the file and the system's
// reason when it cannot be opened.
THttpDataStream BuildFirmwareUpload(const std::string& filePath);

enum class UploadVerdict { NoVerdict, Succeeded, KernelTooLarge, UploadFailed };

// What the appliance's answer to the upload POST means.
UploadVerdict ClassifyUploadOutcome(const UploadOutcome& outcome);

// The box told after a failed upload; none for the other verdicts.
std::optional<Notice> VerdictNotice(UploadVerdict verdict);
// The box told when the chosen file cannot be read; reason names the file and why.
Notice FileOpenNotice(const std::string& reason);

std::string UploadUrl(const std::string& address);
std::string UploadReferer(const std::string& address);

Command RebootCommand(const std::string& address);
Command FactoryResetCommand(const std::string& address);

// The two multi-line labels, composed of looked-up pieces.
std::string RebootLabelText();
std::string ResetLabelText();
// The confirmations, looked-up pieces joined by a line feed.
std::string RebootQuestionText();
std::string UploadSuccessQuestionText();

} // namespace MaintenanceTabLogic
