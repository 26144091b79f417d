#pragma once

#include <cstdint>
#include <string>

// The appliance being worked on, shared by every window for the life of the
// process. Texts are bytes in the workstation's ANSI code page.
struct CurrentDeviceRecord {
    std::string Address;            // dotted IPv4 text, as listed by discovery
    std::string UserName;           // HTTP Basic credentials, in clear text
    std::string Password;
    std::int32_t TranslationOn = 0; // 1 turns the language file lookup on
    std::int32_t CommandPauseMs = 20;
};

extern CurrentDeviceRecord CurrentDevice;
