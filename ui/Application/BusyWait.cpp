#include "ui/Application/BusyWait.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>

namespace {

int depth = 0;

bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

class InputDrop final : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        // A box opened during the wait is answered as usual.
        return IsUserInput(event->type()) && !QApplication::activeModalWidget();
    }
};

InputDrop* drop = nullptr;

} // namespace

BusyWait::BusyWait() : nested_(depth > 0)
{
    if (depth++ == 0 && qApp) {
        drop = new InputDrop;
        qApp->installEventFilter(drop);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
}

BusyWait::~BusyWait()
{
    if (--depth > 0 || !qApp)
        return;
    // What queued up during a wait that did not pump events arrives now, and is dropped too.
    QApplication::processEvents();
    QApplication::restoreOverrideCursor();
    qApp->removeEventFilter(drop);
    delete drop;
    drop = nullptr;
}
