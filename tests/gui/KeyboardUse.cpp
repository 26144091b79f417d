// The windows used from the keyboard alone: Enter presses the focused
// button, Enter in the login password logs in for management, Enter on a
// picked appliance opens its login.
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "app/CurrentDevice.h"
#include "support/ProgramWindows.h"
#include "support/RecordingNotifier.h"
#include "support/ScriptedPageServer.h"
#include "ui/Application/Application.h"
#include "ui/Application/Forms.h"
#include "ui/Logindisk/TForm4.h"
#include "ui/Mainform/TForm1.h"
#include "ui/Menuform/StatusTab.h"
#include "ui/Menuform/TForm2.h"

namespace {

const std::string StatusPage = "<HTML>\r\nvar host_name=\"NAS-ONE\";\r\n</HTML>";

// Refuses every login, so a login costs eight quick fetches and one box.
std::string RefusingAppliance(const std::string&)
{
    return ScriptedPageServer::Answer(401, "Unauthorized", "<HTML><BODY>401 Unauthorized</BODY></HTML>");
}

QWidget* WindowNamed(const QString& name)
{
    if (name == "TForm1")
        return Form1;
    if (name == "TForm2")
        return Form2;
    return Form4;
}

} // namespace

class KeyboardUseTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramWindowsFixture> program;

private slots:
    void initTestCase()
    {
        program = std::make_unique<ProgramWindowsFixture>(RefusingAppliance);
    }

    void cleanupTestCase()
    {
        program.reset();
    }

    void init()
    {
        program->notifier.boxes.clear();
        for (QWidget* window : {static_cast<QWidget*>(Form1), static_cast<QWidget*>(Form2),
                                static_cast<QWidget*>(Form4)})
            window->hide();
    }

    // Each row: the window, the control that has the focus, and the box that
    // the pressed button's handler shows.
    void enterPressesWhatHasTheFocus_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("focusAfter");
        const QString refused = "Login failed, please check your username and password";
        QTest::newRow("login Management") << "TForm4" << "MenBtn" << refused << "PassEdit";
        QTest::newRow("login Connect") << "TForm4" << "MountBtn" << refused << "MountBtn";
        // Enter in the password is "Management": the focus comes back to the password.
        QTest::newRow("login password") << "TForm4" << "PassEdit" << refused << "PassEdit";
        QTest::newRow("Status Set") << "TForm2" << "identBtn" << "Value is empty" << "identBtn";
    }

    void enterPressesWhatHasTheFocus()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QString, box);
        QFETCH(QString, focusAfter);
        QWidget* shown = WindowNamed(window);
        if (shown == Form2)
            Form2->OpenOnFirstPage();
        else
            shown->show();
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        if (auto* host = shown->findChild<QLineEdit*>("HostEdit"))
            host->clear();
        program->notifier.boxes.clear();
        auto* focused = shown->findChild<QWidget*>(control);
        QVERIFY(focused);
        focused->setFocus();
        QCOMPARE(shown->focusWidget(), focused);

        QTest::keyClick(focused, Qt::Key_Return);

        QCOMPARE(program->notifier.boxes.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(program->notifier.boxes[0].text), box);
        QCOMPARE(shown->focusWidget()->objectName(), focusAfter);
    }

    // Wherever the focus is put in the login password, what is there is
    // selected, so typing replaces a refused password instead of adding to it.
    void typingInThePasswordReplacesWhatWasThere_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("refused Management") << "refused";
        QTest::newRow("window shown") << "shown";
        QTest::newRow("appliance picked") << "picked";
    }

    void typingInThePasswordReplacesWhatWasThere()
    {
        QFETCH(QString, how);
        Form4->PassEdit->setText("wrong");
        if (how == "refused") {
            Form4->show();
            Form4->MenBtn->click();
            QCOMPARE(program->notifier.boxes.size(), std::size_t{1});
        } else if (how == "shown") {
            Form4->show();
        } else {
            Form1->show();
            auto* row = new QTreeWidgetItem(Form1->HDListView, QStringList{"127.0.0.1", "NAS", "WG", "2.0"});
            Form1->HDListView->setCurrentItem(row);
            Form1->HDListViewClick();
            delete row;
        }
        QCOMPARE(Form4->focusWidget(), Form4->PassEdit);
        QTest::keyClicks(Form4->PassEdit, "right");
        QCOMPARE(Form4->PassEdit->text(), QString("right"));
    }

    void enterOnTheSearchButtonSearches()
    {
        Form1->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form1));
        new QTreeWidgetItem(Form1->HDListView, QStringList{"127.0.0.9", "Old", "", "1"});
        Form1->ScanBtn->setFocus();
        QTest::keyClick(Form1->ScanBtn, Qt::Key_Enter);
        QVERIFY(Form1->Timer1->isActive());
        QCOMPARE(Form1->HDListView->topLevelItemCount(), 0);
        Form1->Timer1->stop();
    }

    void enterOnAPickedApplianceOpensItsLogin()
    {
        Form1->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form1));
        Form1->HDListView->clear();
        CurrentDevice.Address.clear();
        Form1->HDListView->setFocus();
        QTest::keyClick(Form1->HDListView, Qt::Key_Return); // nothing picked: nothing happens
        QVERIFY(Form1->isVisible());
        QCOMPARE(CurrentDevice.Address, std::string());

        auto* row = new QTreeWidgetItem(Form1->HDListView, QStringList{"127.0.0.1", "NAS-ONE", "WORKGROUP", "2.0"});
        Form1->HDListView->setCurrentItem(row);
        QTest::keyClick(Form1->HDListView, Qt::Key_Return);
        QCOMPARE(CurrentDevice.Address, std::string("127.0.0.1"));
        QVERIFY(Form4->isVisible());
        QVERIFY(!Form1->isVisible());
        QCOMPARE(Form4->focusWidget(), Form4->PassEdit);
        QVERIFY(program->notifier.boxes.empty());
    }
};

int main(int argc, char** argv)
{
    Application application(argc, argv);
    KeyboardUseTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "KeyboardUse.moc"
