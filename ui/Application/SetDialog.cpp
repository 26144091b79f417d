#include "ui/Application/SetDialog.h"

#include <QCloseEvent>
#include <QLineEdit>

#include <algorithm>

#include "app/LocalizeText.h"
#include "ui/Application/AnsiText.h"
#include "ui/Application/Forms.h"
#include "ui/Application/KeyboardUse.h"
#include "ui/Application/WindowSetup.h"
#include "ui/Application/WindowText.h"

namespace {

// Leading and trailing characters of code 0 to 32 go, as the ANSI rule has it.
QString Trimmed(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first).unicode() <= 0x20)
        ++first;
    while (last > first && text.at(last - 1).unicode() <= 0x20)
        --last;
    return text.mid(first, last - first);
}

} // namespace

SetDialog::SetDialog(QWidget* parent) : QWidget(parent) { }

void SetDialog::SetUpDialog(int width, int height, std::vector<QLineEdit*> fields, std::vector<int> trimmed,
                            std::function<void()> finished)
{
    fields_ = std::move(fields);
    trimmed_ = std::move(trimmed);
    finished_ = std::move(finished);
    setWindowTitle(ToQString(LocalizeText(ToAnsi(windowTitle()))));
    TranslateCaptions(this);
    UsePlainText(this);
    SetUpFixedWindow(*this, width, height);
    PressButtonsOnEnter(*this);
}

void SetDialog::Open(QLineEdit* field)
{
    BringToFront(*this);
    if (field)
        field->setFocus(Qt::OtherFocusReason);
}

void SetDialog::RunSet(const std::function<DialogOutcome(const DialogFields&)>& decide, const char* caption)
{
    for (const int place : trimmed_) {
        QLineEdit* field = fields_.at(place);
        const QString text = Trimmed(field->text());
        if (text != field->text())
            SetFieldText(field, text);
    }
    DialogFields texts;
    for (const QLineEdit* field : fields_)
        texts.push_back(ToAnsi(field->text()));

    const DialogOutcome outcome = decide(texts);
    if (const auto* refusal = std::get_if<DialogRefusal>(&outcome)) {
        ShowNotice(refusal->notice);
        for (const int place : refusal->clearedFields)
            fields_.at(place)->clear();
        for (const int place : refusal->enabledFields)
            fields_.at(place)->setEnabled(true);
        return;
    }
    SendManagementCommand(std::get<Command>(outcome), caption);
    // Whatever the appliance answered, the dialog has done its work.
    for (QLineEdit* field : fields_)
        field->clear();
    if (finished_)
        finished_();
    hide();
}

void SetDialog::closeEvent(QCloseEvent* event)
{
    hide();
    if (finished_)
        finished_();
    event->accept();
}
