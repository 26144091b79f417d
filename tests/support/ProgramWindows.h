#pragma once

#include <memory>

#include "app/CurrentDevice.h"
#include "support/RecordingNotifier.h"
#include "support/ScriptedPageServer.h"
#include "ui/Application/Forms.h"
#include "ui/Ftpscreateaform/TForm9.h"
#include "ui/Ftpscreatefform/TForm10.h"
#include "ui/Ftpsrenameform/TForm11.h"
#include "ui/Logindisk/TForm4.h"
#include "ui/Mainform/TForm1.h"
#include "ui/Menuform/TForm2.h"
#include "ui/Mountform/TForm5.h"
#include "ui/Smbcreatform/TForm6.h"
#include "ui/Smbpassform/TForm8.h"
#include "ui/Smbrenameform/TForm7.h"

// The program never destroys its windows; a test that made them with
// CreateForms() removes them again with this.
inline void DestroyForms()
{
    delete Form11;
    delete Form10;
    delete Form9;
    delete Form8;
    delete Form7;
    delete Form6;
    delete Form5;
    delete Form4;
    delete Form2;
    delete Form1;
    Form11 = nullptr;
    Form10 = nullptr;
    Form9 = nullptr;
    Form8 = nullptr;
    Form7 = nullptr;
    Form6 = nullptr;
    Form5 = nullptr;
    Form4 = nullptr;
    Form2 = nullptr;
    Form1 = nullptr;
}

// The program's windows made as the program makes them, for the appliance at
// 127.0.0.1 that the reply scripts, with every box recorded; all removed
// again when the fixture ends.
class ProgramWindowsFixture {
public:
    explicit ProgramWindowsFixture(ScriptedPageServer::Reply reply)
        : server(std::make_unique<ScriptedPageServer>(std::move(reply)))
    {
        CurrentDevice.Address = "127.0.0.1";
        CreateForms();
    }
    ~ProgramWindowsFixture() { DestroyForms(); }

    RecordingNotifier notifier;
    std::unique_ptr<ScriptedPageServer> server;
};
