#include "ui/Application/Forms.h"

#include "ui/Mainform/TForm1.h"

TForm1* Form1 = nullptr;
TForm2* Form2 = nullptr;
TForm4* Form4 = nullptr;

void CreateForms()
{
    // The first window created is the main window.
    Form1 = new TForm1;
}

bool ShowLoginWindowFromDiscovery()
{
    if (!Form4)
        return false;
    // Shows the login window with the focus in its password field.
    return false;
}
