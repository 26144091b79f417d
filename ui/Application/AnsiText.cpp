#include "ui/Application/AnsiText.h"

#include "platform/CodePage.h"

QString ToQString(const std::string& ansi) { return QString::fromStdString(AnsiToUtf8(ansi)); }

std::string ToAnsi(const QString& text) { return Utf8ToAnsi(text.toStdString()); }
