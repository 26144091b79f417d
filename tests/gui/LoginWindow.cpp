#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include "app/CurrentDevice.h"
#include "platform/Clock.h"
#include "support/ProgramWindows.h"
#include "support/RecordingNotifier.h"
#include "support/ScriptedPageServer.h"
#include "ui/Application/Forms.h"
#include "ui/Logindisk/TForm4.h"
#include "ui/Mainform/TForm1.h"
#include "ui/Menuform/PageControl.h"
#include "ui/Menuform/StatusTab.h"
#include "ui/Menuform/TForm2.h"
#include "ui/Mountform/FolderListLogic.h"

namespace {

const std::string StatusPage =
    "<HTML>\r\nvar host_name=\"NAS-ONE\";\r\n"
    "var allow_share=\"<option value=\"public\">public</option><option value=\"data\">data</option>\";\r\n</HTML>";

// Lets in admin/admin only; a refusal comes with its page.
std::string ApplianceReply(const std::string& request)
{
    if (request.find("Authorization: Basic YWRtaW46YWRtaW4=\r\n") != std::string::npos)
        return ScriptedPageServer::Answer(200, "OK", StatusPage);
    return ScriptedPageServer::Answer(401, "Unauthorized", "<HTML><BODY>401 Unauthorized</BODY></HTML>");
}

} // namespace

class LoginWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramWindowsFixture> program;

private slots:
    void initTestCase()
    {
        program = std::make_unique<ProgramWindowsFixture>(ApplianceReply);
    }

    void cleanupTestCase()
    {
        program.reset();
    }

    void init()
    {
        program->notifier.boxes.clear();
        program->server->clear();
        program->server->setReply(ApplianceReply);
        Form2->hide();
        Form4->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form4));
    }

    void controlsAndCaptions()
    {
        QCOMPARE(Form4->windowTitle(), QString("Remote Device Login"));
        QCOMPARE(Form4->size(), QSize(239, 114));
        QCOMPARE(Form4->minimumSize(), Form4->maximumSize());
        QCOMPARE(Form4->findChild<QLineEdit*>("UserEdit")->text(), QString("admin"));
        QCOMPARE(Form4->PassEdit->echoMode(), QLineEdit::Password);
        QCOMPARE(Form4->PassEdit->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, Form4->PassEdit),
                 int('*'));
        QCOMPARE(Form4->MountBtn->text(), QString("Connect"));
        QCOMPARE(Form4->MenBtn->text(), QString("Management"));
        QVERIFY(Form4->MountBtn->x() < Form4->MenBtn->x());
        // Showing the window puts the cursor where the user types next.
        QCOMPARE(Form4->focusWidget(), Form4->PassEdit);
    }

    void wrongPasswordIsTriedEightTimesThenRefused_data()
    {
        QTest::addColumn<bool>("management");
        QTest::newRow("Management") << true;
        QTest::newRow("Connect") << false;
    }

    void wrongPasswordIsTriedEightTimesThenRefused()
    {
        QFETCH(bool, management);
        Form4->PassEdit->setText("wrong");
        Form4->UserEdit->setFocus();
        (management ? Form4->MenBtn : Form4->MountBtn)->click();

        QCOMPARE(program->server->requestCount(), 8);
        QCOMPARE(program->notifier.boxes.size(), std::size_t{1});
        QCOMPARE(program->notifier.boxes[0].text, std::string("Login failed, please check your username and password"));
        QCOMPARE(program->notifier.boxes[0].caption, std::string("Login"));
        QCOMPARE(program->notifier.boxes[0].icon, MessageIcon::Information);
        // Only "Management" sends the user back to the password.
        QCOMPARE(Form4->focusWidget(), management ? Form4->PassEdit : Form4->UserEdit);
        QVERIFY(Form4->isVisible());
        QVERIFY(!Form2->isVisible());
        QCOMPARE(Form4->PassEdit->text(), QString("wrong"));
        QCOMPARE(CurrentDevice.Password, std::string("wrong"));
    }

    void otherAnswersFailToConnect_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<int>("requests");
        QTest::newRow("500 with page") << QString::fromStdString(ScriptedPageServer::Answer(500, "Error", "<HTML>x</HTML>")) << 8;
        QTest::newRow("401 without page") << QString::fromStdString(ScriptedPageServer::Answer(401, "Unauthorized", "")) << 8;
        QTest::newRow("page without status") << QString("<HTML>nothing else</HTML>") << 8;
    }

    void otherAnswersFailToConnect()
    {
        QFETCH(QString, reply);
        QFETCH(int, requests);
        const std::string answer = reply.toStdString();
        program->server->setReply([answer](const std::string&) { return answer; });
        Form4->PassEdit->setText("admin");
        Form4->MenBtn->click();
        QCOMPARE(program->server->requestCount(), requests);
        QCOMPARE(program->notifier.boxes.size(), std::size_t{1});
        QCOMPARE(program->notifier.boxes[0].text, std::string("Connection fail"));
        QCOMPARE(program->notifier.boxes[0].caption, std::string("Connect"));
        QCOMPARE(program->notifier.boxes[0].icon, MessageIcon::Error);
        QVERIFY(!Form2->isVisible());
    }

    void nobodyListeningFailsToConnect()
    {
        CurrentDevice.Address = "127.0.0.2";
        const auto started = MonotonicMs();
        Form4->PassEdit->setText("admin");
        Form4->MountBtn->click();
        const auto took = MonotonicMs() - started;
        CurrentDevice.Address = "127.0.0.1";
        QCOMPARE(program->notifier.boxes.size(), std::size_t{1});
        QCOMPARE(program->notifier.boxes[0].text, std::string("Connection fail"));
        QCOMPARE(program->server->requestCount(), 0);
        // 8 refused connections and their pauses, nothing more.
        QVERIFY2(took < 2000, qPrintable(QString::number(took)));
    }

    void managementOpensOnTheStatusPageWithEmptyPasswordFields()
    {
        Form2->SelectPage(3);
        Form2->statusTab()->passEdit()->setText("old");
        Form2->statusTab()->verifyEdit()->setText("old");
        Form4->PassEdit->setText("admin");
        Form4->MenBtn->click();

        QVERIFY(!Form4->isVisible());
        QVERIFY(Form2->isVisible());
        QCOMPARE(Form2->windowTitle(), QString("Management 127.0.0.1"));
        QCOMPARE(Form2->PageControl1->currentIndex(), 0);
        QCOMPARE(Form2->statusTab()->passEdit()->text(), QString());
        QCOMPARE(Form2->statusTab()->verifyEdit()->text(), QString());
        QVERIFY(program->notifier.boxes.empty());
        // One fetch to log in; the Status page's own refresh reads the page again.
        QVERIFY(program->server->requestCount() >= 2);
        QCOMPARE(CurrentDevice.UserName, std::string("admin"));
        QCOMPARE(CurrentDevice.Password, std::string("admin"));
    }

    void showingTheLoginEnablesTheManagementWindowAgain()
    {
        Form4->hide();
        Form2->setEnabled(false);
        Form4->UserEdit->setFocus();
        Form4->show();
        QVERIFY(Form2->isEnabled());
        QCOMPARE(Form4->focusWidget(), Form4->PassEdit);
    }

    void connectFillsTheFolderListAndGivesWayToTheNetworkDriveWindow()
    {
        NetworkDriveFolders.Fill({"stale"});
        Form4->show();
        Form4->PassEdit->setText("admin");
        Form4->MountBtn->click();
        QVERIFY(!Form4->isVisible());
        QVERIFY(!Form2->isVisible());
        QVERIFY(Form5->isVisible());
        QCOMPARE(NetworkDriveFolders.Entries(), (std::vector<std::string>{"public", "data"}));
        QCOMPARE(Form5->FolderCB->count(), 2);
        QCOMPARE(Form5->FolderCB->currentIndex(), -1);
        Form5->close();
        QVERIFY(Form4->isVisible());
        QCOMPARE(program->server->requestCount(), 2);
        QVERIFY(program->notifier.boxes.empty());
    }

    void clickingAnApplianceOpensTheLoginAtThePassword()
    {
        Form4->hide();
        Form1->show();
        CurrentDevice.Address.clear();
        auto* row = new QTreeWidgetItem(Form1->HDListView, QStringList{"127.0.0.1", "NAS-ONE", "WORKGROUP", "2.0"});
        Form1->HDListView->setCurrentItem(row);
        Form4->UserEdit->setFocus();
        Form1->HDListViewClick();
        delete row;
        QCOMPARE(CurrentDevice.Address, std::string("127.0.0.1"));
        QVERIFY(Form4->isVisible());
        QVERIFY(!Form1->isVisible());
        QCOMPARE(Form4->focusWidget(), Form4->PassEdit);
        QVERIFY(program->notifier.boxes.empty());
    }

    void closingReturnsToTheDiscoveryWindow()
    {
        Form1->hide();
        Form4->close();
        QVERIFY(!Form4->isVisible());
        QVERIFY(Form1->isVisible());
        QVERIFY(!Form2->isVisible());
    }
};

QTEST_MAIN(LoginWindowTest)
#include "LoginWindow.moc"
