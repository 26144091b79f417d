#include "ui/Application/Forms.h"

#include <QLineEdit>

#include "ui/Logindisk/TForm4.h"
#include "ui/Mainform/TForm1.h"
#include "ui/Menuform/TForm2.h"
#include "ui/Application/WindowSetup.h"

TForm1* Form1 = nullptr;
TForm2* Form2 = nullptr;
TForm4* Form4 = nullptr;

void CreateForms()
{
    // The first window created is the main window.
    Form1 = new TForm1;
    Form2 = new TForm2;
    Form4 = new TForm4;
}

bool ShowLoginWindowFromDiscovery()
{
    if (!Form4)
        return false;
    Form4->show();
    Form4->FocusPassword();
    return true;
}

void ShowLoginWindow()
{
    if (Form4)
        BringToFront(*Form4);
}

void ShowDiscoveryWindow()
{
    if (Form1)
        BringToFront(*Form1);
}

void ShowDiscoveryAndSearch()
{
    if (!Form1)
        return;
    Form1->show();
    Form1->ScanBtnClick();
}

void OpenManagementWindow()
{
    if (Form2)
        Form2->OpenOnFirstPage();
}

void EnableManagementWindow()
{
    if (Form2)
        Form2->setEnabled(true);
}

void CloseManagementWindow()
{
    if (Form2 && Form2->isVisible())
        Form2->close();
}
