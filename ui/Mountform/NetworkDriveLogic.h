#pragma once

#include <string>
#include <vector>

#include "platform/Drives.h"

// The letters from Z down to D that are neither a local drive nor connected to a share.
std::vector<char> ListFreeDriveLetters(Drives& drives);

// "\\host\folder", with PUBLIC standing in for a folder that was not picked.
std::string BuildRemoteName(const std::string& host, const std::string& folder);

// Connects the letter to the folder of the host and returns the system's result code.
int NetConnect(Drives& drives, const std::string& host, char letter, bool reconnectAtLogon, const std::string& folder,
               const std::string& password);

// The English message for a result code; "Exception Error." for a code it does not know.
std::string ConnectMessage(int code);

// What "Set" does with what the user picked.
enum class MountSetAction { Connect, AskForDisk, AskForDevice, Nothing };
MountSetAction ChooseMountSetAction(bool letterPicked, bool devicePicked, const std::string& currentAddress);
