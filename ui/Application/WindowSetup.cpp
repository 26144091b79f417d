#include "ui/Application/WindowSetup.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void SetUpFixedWindow(QWidget& window, int width, int height, bool endsProgram)
{
    window.setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint);
    window.setAttribute(Qt::WA_QuitOnClose, endsProgram);
    window.setFixedSize(width, height);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

void BringToFront(QWidget& window)
{
    window.show();
    window.raise();
    window.activateWindow();
}
