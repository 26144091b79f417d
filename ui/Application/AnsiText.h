#pragma once

#include <QString>
#include <string>

// The widget boundary: internal texts are ANSI bytes, widgets show QString.
QString ToQString(const std::string& ansi);
std::string ToAnsi(const QString& text); // a character outside the code page becomes "?"
