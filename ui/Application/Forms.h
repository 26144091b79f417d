#pragma once

#include <string>

// The program's windows, created once at start in this order and never
// destroyed; windows reach each other through these.
class TForm1; // discovery (Mainform), the main window
class TForm2; // management (Menuform)
class TForm4; // login (Logindisk)
class TForm5; // network drive (Mountform)

extern TForm1* Form1;
extern TForm2* Form2;
extern TForm4* Form4;
extern TForm5* Form5;

// Creates every window that exists, in order; throws what window creation throws.
void CreateForms();

// Shows the login window for the device just picked in the discovery list;
// false while there is no login window.
bool ShowLoginWindowFromDiscovery();

// The login window gives way to the network-drive window.
void ShowMountWindow();
// Back from the network-drive window to the login window, in front.
void ReturnToLoginWindow();
// The address in the selected row of the discovery list; empty when no row is selected.
std::string PickedDeviceAddress();
