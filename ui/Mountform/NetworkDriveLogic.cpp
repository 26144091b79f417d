#include "ui/Mountform/NetworkDriveLogic.h"

#include <cctype>
#include <map>

std::vector<char> ListFreeDriveLetters(Drives& drives)
{
    std::vector<char> letters;
    for (char letter = 'Z'; letter >= 'D'; --letter) {
        const DriveKind kind = drives.KindOf(letter);
        if (kind != DriveKind::Unknown && kind != DriveKind::NoRootDir && kind != DriveKind::Remote)
            continue;
        const auto connection = drives.ConnectionOf(letter);
        if (!connection || connection->empty())
            letters.push_back(letter);
    }
    return letters;
}

std::string BuildRemoteName(const std::string& host, const std::string& folder)
{
    return "\\\\" + host + "\\" + (folder.empty() ? std::string("PUBLIC") : folder);
}

int NetConnect(Drives& drives, const std::string& host, char letter, bool reconnectAtLogon, const std::string& folder,
               const std::string& password)
{
    ConnectRequest request;
    request.localName = std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(letter)))) + ":";
    request.remoteName = BuildRemoteName(host, folder);
    request.password = password;
    request.reconnectAtLogon = reconnectAtLogon;
    return drives.Connect(request);
}

std::string ConnectMessage(int code)
{
    static const std::map<int, std::string> messages = {
        {0, "Remote Device Connected"},
        {5, "Access to the network resource was denied."},
        {66, "The type of local device and the type of network resource do not match."},
        {67, "The resource name is invalid, or the named resource cannot be located."},
        {85, "The local device is already connected to a network resource."},
        {86, "The password is invalid."},
        // Busy is not a provider problem: it gets its own words.
        {170, "The requested resource is in use."},
        {1200, "The value specified by Disk Number is invalid."},
        {1202, "An entry for the device specified in Disk Number is already in the user profile."},
        {1203, "A network component has not started."},
        {1204, "The value specified by provider does not match any provider."},
        {1205, "The system is unable to open the user profile."},
        {1206, "The user profile is in an incorrect format."},
        {1208, "A network-specific error occurred."},
        {1222, "No network."},
        {1223, "The connection was cancelled by the user."},
    };
    const auto found = messages.find(code);
    return found == messages.end() ? "Exception Error." : found->second;
}

MountSetAction ChooseMountSetAction(bool letterPicked, bool devicePicked, const std::string& currentAddress)
{
    if (letterPicked && devicePicked)
        return MountSetAction::Connect;
    if (!letterPicked)
        return MountSetAction::AskForDisk;
    return currentAddress.empty() ? MountSetAction::AskForDevice : MountSetAction::Nothing;
}
