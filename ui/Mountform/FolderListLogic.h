#pragma once

#include <string>
#include <vector>

// The entries of the network-drive window's folder list (FolderCB). The login
// window fills it before that window opens; the window shows what it holds.
class FolderListLogic {
public:
    void Fill(std::vector<std::string> names) { entries = std::move(names); ++generation; }
    const std::vector<std::string>& Entries() const { return entries; }
    // Grows with every Fill, so the window can tell that the list was refilled.
    int Generation() const { return generation; }

private:
    std::vector<std::string> entries;
    int generation = 0;
};

// The one list of the process, shared by the login and network-drive windows.
extern FolderListLogic NetworkDriveFolders;
