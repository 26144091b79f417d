#pragma once

class QWidget;

// Enter on a focused button of the window presses it, as on the
// workstation's own dialogs (Qt leaves that to dialogs only).
void PressButtonsOnEnter(QWidget& window);

// True for the Enter and Return keys.
bool IsEnterKey(int key);
