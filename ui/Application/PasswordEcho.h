#pragma once

class QLineEdit;

// Makes a password field show "*" for every character, whatever the style's own mask.
void ShowStarsFor(QLineEdit* edit);
