#pragma once

#include <string>

#include "app/Notifier.h"

// A message box that a window's logic hands back to its window.
struct Notice {
    std::string text;            // English, looked up when shown...
    bool textLocalized = false;  // ...unless it was composed from looked-up pieces
    std::string caption;         // English
    MessageIcon icon = MessageIcon::Information;

    bool operator==(const Notice&) const = default;
};

// Shows the notice through the installed notifier, localizing what is still English.
void ShowNotice(const Notice& notice);
