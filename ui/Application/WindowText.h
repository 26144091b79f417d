#pragma once

#include <QString>

class QLineEdit;
class QWidget;

// Puts a value into an edit field whole: the field's length limit holds for
// what the user types, never for what the program shows (a plain setText
// would cut an appliance's longer value, and "Set" would send it back cut).
void SetFieldText(QLineEdit* edit, const QString& text);
// The length the user may type, whatever value is shown now.
int TypingLimit(const QLineEdit* edit);

// Passes every caption the window's forms hold (labels, buttons, group
// boxes, tabs) through the translation, each text looked up once ("Set" on
// many buttons). A control marked "untranslated" in its form keeps its text.
void TranslateCaptions(QWidget* window);

// Every label of the window shows its text as it is, never as markup: many
// of them show what an appliance or the network sent.
void UsePlainText(QWidget* window);
// A tool tip that shows the text as it is.
QString PlainToolTip(const QString& text);
