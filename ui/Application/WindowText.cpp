#include "ui/Application/WindowText.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include <algorithm>
#include <map>

#include "app/LocalizeText.h"
#include "ui/Application/AnsiText.h"

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

void TranslateCaptions(QWidget* window)
{
    std::map<QString, QString> translated;
    const auto lookUp = [&](const QString& english) {
        if (english.isEmpty())
            return english;
        auto found = translated.find(english);
        if (found == translated.end())
            found = translated.emplace(english, ToQString(LocalizeText(ToAnsi(english)))).first;
        return found->second;
    };
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (control->property("untranslated").toBool())
            continue;
        if (auto* label = qobject_cast<QLabel*>(control))
            label->setText(lookUp(label->text()));
        else if (auto* button = qobject_cast<QAbstractButton*>(control))
            button->setText(lookUp(button->text()));
        else if (auto* box = qobject_cast<QGroupBox*>(control))
            box->setTitle(lookUp(box->title()));
        else if (auto* tabs = qobject_cast<QTabWidget*>(control))
            for (int tab = 0; tab < tabs->count(); ++tab)
                tabs->setTabText(tab, lookUp(tabs->tabText(tab)));
    }
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
