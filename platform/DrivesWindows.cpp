#ifdef _WIN32

#include "platform/Drives.h"

#include <windows.h>
#include <winnetwk.h>

#include <vector>

namespace {

// The system's own calls; each blocks until the system answers.
class WindowsDrives final : public Drives {
public:
    DriveKind KindOf(char letter) override
    {
        const char root[] = {static_cast<char>(letter - 'A' + 'a'), ':', '\\', '\0'};
        return static_cast<DriveKind>(GetDriveTypeA(root));
    }

    std::optional<std::string> ConnectionOf(char letter) override
    {
        const char local[] = {letter, ':', '\0'};
        char remote[512] = {};
        DWORD size = sizeof remote;
        const DWORD result = WNetGetConnectionA(local, remote, &size);
        if (result == ERROR_MORE_DATA)
            return std::string("?"); // connected to a name longer than the buffer
        if (result != NO_ERROR)
            return std::nullopt;
        return std::string(remote);
    }

    int Connect(const ConnectRequest& request) override
    {
        std::vector<char> localName(request.localName.begin(), request.localName.end());
        localName.push_back('\0');
        std::vector<char> remoteName(request.remoteName.begin(), request.remoteName.end());
        remoteName.push_back('\0');
        NETRESOURCEA resource = {};
        resource.dwScope = RESOURCE_GLOBALNET;
        resource.dwType = RESOURCETYPE_DISK;
        resource.dwDisplayType = RESOURCEDISPLAYTYPE_GENERIC;
        resource.dwUsage = RESOURCEUSAGE_CONNECTABLE;
        resource.lpLocalName = localName.data();
        resource.lpRemoteName = remoteName.data();
        const char* password = request.password.empty() ? nullptr : request.password.c_str();
        const DWORD flags = request.reconnectAtLogon ? CONNECT_UPDATE_PROFILE : 0;
        return static_cast<int>(WNetAddConnection2A(&resource, password, nullptr, flags));
    }
};

} // namespace

std::unique_ptr<Drives> MakeSystemDrives(EventPump)
{
    return std::make_unique<WindowsDrives>();
}

#endif
