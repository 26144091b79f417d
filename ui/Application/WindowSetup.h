#pragma once

class QWidget;

// Every window of the program: a fixed border and size, centred on the
// screen. Only the discovery window's close ends the program, so the others
// never keep it alive.
void SetUpFixedWindow(QWidget& window, int width, int height, bool endsProgram = false);

// Shows the window over the others and gives it the keyboard.
void BringToFront(QWidget& window);
