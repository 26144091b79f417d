#pragma once

#include "ui/Application/Forms.h"
#include "ui/Logindisk/TForm4.h"
#include "ui/Mainform/TForm1.h"
#include "ui/Menuform/TForm2.h"
#include "ui/Mountform/TForm5.h"

// The program never destroys its windows; a test that made them with
// CreateForms() removes them again with this.
inline void DestroyForms()
{
    delete Form5;
    delete Form4;
    delete Form2;
    delete Form1;
    Form5 = nullptr;
    Form4 = nullptr;
    Form2 = nullptr;
    Form1 = nullptr;
}
