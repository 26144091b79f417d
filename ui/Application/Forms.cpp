#include "ui/Application/Forms.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "device/Command.h"
#include "ui/Application/AnsiText.h"
#include "ui/Application/BusyWait.h"
#include "ui/Application/WindowSetup.h"
#include "ui/Ftpscreateaform/TForm9.h"
#include "ui/Ftpscreatefform/TForm10.h"
#include "ui/Ftpsrenameform/TForm11.h"
#include "ui/Logindisk/TForm4.h"
#include "ui/Mainform/TForm1.h"
#include "ui/Menuform/FtpServerTab.h"
#include "ui/Menuform/ModifyFtpTab.h"
#include "ui/Menuform/TForm2.h"
#include "ui/Menuform/FileServerTab.h"
#include "ui/Mountform/TForm5.h"
#include "ui/Smbcreatform/TForm6.h"
#include "ui/Smbpassform/TForm8.h"
#include "ui/Smbrenameform/TForm7.h"

TForm1* Form1 = nullptr;
TForm2* Form2 = nullptr;
TForm4* Form4 = nullptr;
TForm5* Form5 = nullptr;
TForm6* Form6 = nullptr;
TForm7* Form7 = nullptr;
TForm8* Form8 = nullptr;
TForm9* Form9 = nullptr;
TForm10* Form10 = nullptr;
TForm11* Form11 = nullptr;

void CreateForms()
{
    // The first window created is the main window.
    Form1 = new TForm1;
    Form2 = new TForm2;
    Form4 = new TForm4;
    Form5 = new TForm5;
    Form6 = new TForm6;
    Form7 = new TForm7;
    Form8 = new TForm8;
    Form9 = new TForm9;
    Form10 = new TForm10;
    Form11 = new TForm11;
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

void CloseLoginWindow()
{
    if (Form4 && Form4->isVisible())
        Form4->close();
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

void ShowMountWindow()
{
    if (Form4)
        Form4->hide();
    if (Form5)
        Form5->show();
}

std::string PickedDeviceAddress()
{
    if (!Form1)
        return {};
    const QList<QTreeWidgetItem*> selected = Form1->HDListView->selectedItems();
    return selected.isEmpty() ? std::string() : ToAnsi(selected.first()->text(0));
}

void SendManagementCommand(const Command& command, const std::string& caption)
{
    if (!Form2)
        return;
    const BusyWait busy;
    if (busy.nested())
        return; // pressed while another command waits on the appliance
    Form2->commandSender().SendCommand(command, caption);
}

void OpenCreateFolderDialog()
{
    if (Form6)
        Form6->OpenForNewFolder();
}

void OpenRenameFolderDialog(const std::string& folder)
{
    if (Form7)
        Form7->OpenForFolder(folder);
}

void OpenSharePasswordDialog(const std::string& folder)
{
    if (Form8)
        Form8->OpenForFolder(folder);
}

void FileServerDialogFinished()
{
    if (Form2)
        Form2->fileServerTab()->DialogFinished();
}

void OpenFtpCreateAccountDialog()
{
    if (Form9)
        Form9->OpenDialog();
}

void OpenFtpCreateFolderDialog()
{
    if (Form10)
        Form10->OpenDialog();
}

void OpenFtpRenameFolderDialog(const std::string& oldName)
{
    if (!Form11)
        return;
    Form11->SetOldName(oldName);
    Form11->OpenDialog();
}

void EnableFtpAccountCreate()
{
    if (Form2)
        Form2->ftpServerTab()->accountCreateButton()->setEnabled(true);
}

void EnableFtpFolderCreate()
{
    if (Form2)
        Form2->modifyFtpTab()->folderCreateButton()->setEnabled(true);
}
