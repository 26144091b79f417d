#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/EventPump.h"

// What stands behind a drive letter, numbered as the system's drive query numbers it.
enum class DriveKind { Unknown = 0, NoRootDir = 1, Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6 };

// Result codes of a connection, with the values the system gives them.
namespace DriveError {
inline constexpr int None = 0;
inline constexpr int AccessDenied = 5;
inline constexpr int GeneralFailure = 31; // no message of its own
inline constexpr int BadNetName = 67;
inline constexpr int AlreadyAssigned = 85;
inline constexpr int InvalidPassword = 86;
inline constexpr int NoNetwork = 1222;
} // namespace DriveError

// One request to connect a drive letter to a shared folder.
struct ConnectRequest {
    std::string localName;  // upper-case letter and ":"
    std::string remoteName; // "\\host\folder"
    std::string password;   // empty: no password
    bool reconnectAtLogon = false;
};

// The workstation's drive letters and network connections.
class Drives {
public:
    virtual ~Drives() = default;
    virtual DriveKind KindOf(char letter) = 0;
    // The remote name a letter is connected to; nothing when it is not connected.
    virtual std::optional<std::string> ConnectionOf(char letter) = 0;
    // 0, or the system's error code for the failed connection.
    virtual int Connect(const ConnectRequest& request) = 0;
};

// The system's own drives. A connection that waits on the network calls pump
// while it waits and gives up after a bounded time.
std::unique_ptr<Drives> MakeSystemDrives(EventPump pump);
