#include "ui/Application/MessageBoxNotifier.h"

#include <QApplication>
#include <QMessageBox>

#include "ui/Application/AnsiText.h"

namespace {

QMessageBox::Icon ToBoxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Information: break;
    }
    return QMessageBox::Information;
}

int ShowBox(const std::string& text, const std::string& caption, MessageIcon icon, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(ToBoxIcon(icon), ToQString(caption), ToQString(text), buttons);
    box.setObjectName("MessageBox");
    // A box may quote what an appliance sent: never read it as markup.
    box.setTextFormat(Qt::PlainText);
    // A box during a wait on the appliance is answered with the usual pointer.
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = box.exec();
    if (waiting)
        QApplication::restoreOverrideCursor();
    return answer;
}

} // namespace

void MessageBoxNotifier::notice(const std::string& text, const std::string& caption, MessageIcon icon)
{
    ShowBox(text, caption, icon, QMessageBox::Ok);
}

bool MessageBoxNotifier::confirm(const std::string& text, const std::string& caption, MessageIcon icon)
{
    return ShowBox(text, caption, icon, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}
