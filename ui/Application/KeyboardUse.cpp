#include "ui/Application/KeyboardUse.h"

#include <QPushButton>

void PressButtonsOnEnter(QWidget& window)
{
    for (QPushButton* button : window.findChildren<QPushButton*>())
        button->setAutoDefault(true);
}

bool IsEnterKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }
