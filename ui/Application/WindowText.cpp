#include "ui/Application/WindowText.h"

#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace {

constexpr const char* TypingLimitProperty = "typingLimit";

} // namespace

int TypingLimit(const QLineEdit* edit)
{
    const QVariant limit = edit->property(TypingLimitProperty);
    return limit.isValid() ? limit.toInt() : edit->maxLength();
}

void SetFieldText(QLineEdit* edit, const QString& text)
{
    if (!edit->property(TypingLimitProperty).isValid()) {
        edit->setProperty(TypingLimitProperty, edit->maxLength());
        // While a longer value is shown, typing may shorten it but never
        // lengthen it; the room above the limit shrinks with each edit.
        QObject::connect(edit, &QLineEdit::textEdited, edit, [edit] {
            edit->setMaxLength(std::max(TypingLimit(edit), static_cast<int>(edit->text().size())));
        });
    }
    edit->setMaxLength(std::max(TypingLimit(edit), static_cast<int>(text.size())));
    edit->setText(text);
}

void UsePlainText(QWidget* window)
{
    for (QLabel* label : window->findChildren<QLabel*>())
        label->setTextFormat(Qt::PlainText);
}

QString PlainToolTip(const QString& text)
{
    return "<p style='white-space:pre'>" + text.toHtmlEscaped() + "</p>";
}
