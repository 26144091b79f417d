#pragma once

#include <string>

struct Command;

// The program's windows, created once at start in this order and never
// destroyed; windows reach each other through these.
class TForm1; // discovery (Mainform), the main window
class TForm2; // management (Menuform)
class TForm4; // login (Logindisk)
class TForm5; // network drive (Mountform)
class TForm6; // create folder (Smbcreatform)
class TForm7; // rename folder (Smbrenameform)
class TForm8; // share password (Smbpassform)
class TForm9;  // FTP account create (Ftpscreateaform)
class TForm10; // FTP folder create (Ftpscreatefform)
class TForm11; // FTP folder rename (Ftpsrenameform)

extern TForm1* Form1;
extern TForm2* Form2;
extern TForm4* Form4;
extern TForm5* Form5;
extern TForm6* Form6;
extern TForm7* Form7;
extern TForm8* Form8;
extern TForm9* Form9;
extern TForm10* Form10;
extern TForm11* Form11;

// Creates every window that exists, in order; throws what window creation throws.
void CreateForms();

// The moves between windows; windows never reach each other directly.

// Shows the login window for the device just picked in the discovery list;
// false while there is no login window.
bool ShowLoginWindowFromDiscovery();
// The login window over the others (leaving the management window, or after a new password).
void ShowLoginWindow();
// The discovery window over the others (leaving the login window).
void ShowDiscoveryWindow();
// The discovery window with a new search running (the appliance moved away).
void ShowDiscoveryAndSearch();
// The login window closes as its own close does, leaving the discovery window in front.
void CloseLoginWindow();
// The management window on its first page, after a login.
void OpenManagementWindow();
// The management window takes input again (a new password disabled it).
void EnableManagementWindow();

// The management window acts only on the appliance it was opened for: it
// closes, as its own close does, before another appliance is picked.
void CloseManagementWindow();

// The login window gives way to the network-drive window.
void ShowMountWindow();
// The address in the selected row of the discovery list; empty when no row is selected.
std::string PickedDeviceAddress();

// Sends a dialog's command through the management window's sender, for the
// page in front; `caption` names the page whose change the appliance may refuse.
void SendManagementCommand(const Command& command, const std::string& caption);

// The File Server page's dialogs, over the management window with the focus placed.
void OpenCreateFolderDialog();
void OpenRenameFolderDialog(const std::string& folder);
void OpenSharePasswordDialog(const std::string& folder);
// One of them finished or was closed: the File Server page's "Create" again.
void FileServerDialogFinished();
// The FTP pages' dialogs: each is opened over the management window with the
// focus in its name field, and gives back its page's button when done or closed.
void OpenFtpCreateAccountDialog();
void OpenFtpCreateFolderDialog();
// The rename dialog with the folder picked on the Modify FTP page as its old name.
void OpenFtpRenameFolderDialog(const std::string& oldName);
// "Create" on the FTP Server page.
void EnableFtpAccountCreate();
// "Create" on the Modify FTP page.
void EnableFtpFolderCreate();
