#pragma once

#include <QWidget>

#include <functional>
#include <vector>

#include "app/DialogOutcome.h"

class QLineEdit;

// A small modeless dialog of the management window that asks for a name or
// a password and sends one command on "Set": it trims its fields and writes
// them back, shows a refusal with its effect on the fields, or sends the
// command, then clears every field, tells its page it is done and hides.
// Closing it only hides it and tells its page; the fields keep their texts.
class SetDialog : public QWidget {
    Q_OBJECT

public:
    // Shows the dialog over the management window with the focus in `field`.
    void Open(QLineEdit* field);

protected:
    explicit SetDialog(QWidget* parent = nullptr);

    // After setupUi: fixed size and centred, its title and captions translated, the
    // fields in the dialog's order, which of them "Set" trims, and what
    // finishing or closing re-enables on the page that opened it.
    void SetUpDialog(int width, int height, std::vector<QLineEdit*> fields, std::vector<int> trimmed,
                     std::function<void()> finished);

    // The "Set" button: `decide` gets every field's text after the trimming.
    // `caption` names the page whose change the appliance may refuse.
    void RunSet(const std::function<DialogOutcome(const DialogFields&)>& decide, const char* caption);

    void closeEvent(QCloseEvent* event) override;

private:
    std::vector<QLineEdit*> fields_;
    std::vector<int> trimmed_;
    std::function<void()> finished_;
};
