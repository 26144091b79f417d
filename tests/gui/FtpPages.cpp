// The two FTP pages and their dialogs in the program's own windows, against
// an appliance that answers every request with one status page: which
// buttons each click leaves enabled, where the hidden Modify FTP tab stands,
// what a refusal does to a dialog's fields, and what is sent.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "app/CurrentDevice.h"
#include "support/ProgramWindows.h"
#include "support/StatusPageText.h"
#include "ui/Ftpscreatefform/TForm10.h"
#include "ui/Ftpsrenameform/TForm11.h"
#include "ui/Menuform/FtpServerTab.h"
#include "ui/Menuform/ModifyFtpTab.h"
#include "ui/Menuform/PageControl.h"

namespace {

std::string Folders(std::initializer_list<const char*> names, const char* end)
{
    std::string list;
    for (const char* name : names)
        list += std::string("<option value=\"") + name + "\">" + name + end;
    return list;
}

const std::string Page = StatusPageText(
    {{"ftps_status", "ENABLE"}, {"ftps_port", "21"}, {"ftps_dir_list", Folders({"public", "thirteen_char"}, "</option>")},
     {"ftp_ac_list", "<option value=\"7\">ann&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;"
                     "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;pw&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;RW"
                     "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;Enable&nbsp;</option>"},
     {"ftps_account", "ann"}, {"ftps_account_passwd", "pw"}, {"ftps_share_list", Folders({"public"}, " </option>")}});

template <typename Widget>
Widget* Find(const char* name)
{
    auto* widget = Form2->findChild<Widget*>(name);
    if (!widget)
        widget = Form10->findChild<Widget*>(name);
    if (!widget)
        widget = Form11->findChild<Widget*>(name);
    return widget;
}

// The names of the buttons that are enabled, of those given.
QStringList Enabled(std::initializer_list<const char*> names)
{
    QStringList enabled;
    for (const char* name : names)
        if (Find<QPushButton>(name)->isEnabled())
            enabled << name;
    return enabled;
}

const std::initializer_list<const char*> FolderButtons{"ShowModCreateBtn", "ShowModRenameBtn", "ModDelBtn",
                                                       "ModMovetoSharBtn", "ModMovetoFolderBtn", "BackBtn"};

void Pick(const char* list, int row)
{
    auto* box = Find<QListWidget>(list);
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, box->visualItemRect(box->item(row)).center());
}

int Sent(ScriptedPageServer& server, const char* type)
{
    int count = 0;
    for (const std::string& request : server.requests())
        count += request.find(std::string("type=") + type + " ") != std::string::npos
                 || request.find(std::string("type=") + type + "&") != std::string::npos;
    return count;
}

} // namespace

class FtpPagesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramWindowsFixture> program;

private slots:
    void init()
    {
        program = std::make_unique<ProgramWindowsFixture>(
            [](const std::string&) { return ScriptedPageServer::Answer(200, "OK", Page); });
        CurrentDevice.UserName = "admin";
        Form2->OpenOnFirstPage();
        Form2->SelectPage(4);
        CurrentDevice.CommandPauseMs = 0;
    }
    void cleanup() { program.reset(); }

    void accountRowEnablesItsButtons()
    {
        const std::initializer_list<const char*> rowButtons{"AccModifyBtn", "AccStatusBtn", "AccDelBtn"};
        auto* list = Find<QTreeWidget>("AccountLV");
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(list->topLevelItem(0)->text(3), QString("Enable"));
        QVERIFY(Enabled(rowButtons).isEmpty());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(0)).center());
        QCOMPARE(Enabled(rowButtons).size(), 3);
        // Cancel in the question sends nothing.
        program->notifier.answers = {false};
        Find<QPushButton>("AccDelBtn")->click();
        QCOMPARE(Sent(*program->server, "ftps_user_del"), 0);
        Find<QPushButton>("AccModifyBtn")->click();
        QCOMPARE(Sent(*program->server, "ftps_userid_set"), 1);
        QCOMPARE(Form2->ActiveTabIndex(), 5);
        QVERIFY(Form2->PageControl1->isTabVisible(5));
        QVERIFY(!Form2->pageState().PageVisible(4));
    }

    void folderClicksEnableWhatActsOnThem()
    {
        Form2->EnterAccountFolderMode();
        QCOMPARE(Enabled(FolderButtons), (QStringList{"ShowModCreateBtn", "BackBtn"}));
        Pick("FTPSFLB", 0);
        QCOMPARE(Enabled(FolderButtons),
                 (QStringList{"ShowModCreateBtn", "ShowModRenameBtn", "ModDelBtn", "ModMovetoSharBtn", "BackBtn"}));
        Pick("FTPSSharLB", 0);
        QCOMPARE(Enabled(FolderButtons), (QStringList{"ShowModCreateBtn", "ModMovetoFolderBtn", "BackBtn"}));
        QVERIFY(Find<QListWidget>("FTPSFLB")->selectedItems().isEmpty());

        // A name too long to share is refused; both selections go.
        Pick("FTPSFLB", 1);
        Find<QPushButton>("ModMovetoSharBtn")->click();
        QCOMPARE(program->notifier.boxes.back().text, std::string("Over Maximum (12 characters)."));
        QCOMPARE(Sent(*program->server, "ftps_add_share"), 0);
        QCOMPARE(Enabled(FolderButtons), (QStringList{"ShowModCreateBtn", "BackBtn"}));

        // Cancel in the delete question sends nothing and leaves Create and Back.
        Pick("FTPSFLB", 0);
        program->notifier.answers = {false};
        Find<QPushButton>("ModDelBtn")->click();
        QCOMPARE(Sent(*program->server, "fm_rmdir_apply"), 0);
        QCOMPARE(Enabled(FolderButtons), (QStringList{"ShowModCreateBtn", "BackBtn"}));
        QVERIFY(Find<QListWidget>("FTPSFLB")->selectedItems().isEmpty());
    }

    void backReadsTheServerPageTwice()
    {
        Form2->EnterAccountFolderMode();
        const int before = program->server->requestCount();
        Find<QPushButton>("BackBtn")->click();
        QCOMPARE(program->server->requestCount() - before, 2);
        QCOMPARE(Form2->ActiveTabIndex(), 4);
        QVERIFY(!Form2->PageControl1->isTabVisible(5));
    }

    void dialogsGiveBackCreateAndKeepRefusalsLocal()
    {
        Form2->EnterAccountFolderMode();
        Pick("FTPSFLB", 0);
        Find<QPushButton>("ShowModRenameBtn")->click();
        QVERIFY(Form11->isVisible());
        QCOMPARE(Find<QLineEdit>("ModRenOldnameEdit")->text(), QString("public"));
        QVERIFY(!Find<QLineEdit>("ModRenOldnameEdit")->isEnabled());
        Find<QLineEdit>("ModRenNewnameEdit")->setText("  public ");
        Find<QPushButton>("ModRenameFBtn")->click();
        QCOMPARE(program->notifier.boxes.back().text, std::string("New name entries do not match!"));
        QCOMPARE(Find<QLineEdit>("ModRenNewnameEdit")->text(), QString());
        // Only a name put there otherwise can be that long: typing stops at 12.
        Find<QLineEdit>("ModRenNewnameEdit")->setMaxLength(20);
        Find<QLineEdit>("ModRenNewnameEdit")->setText("abcdefghijklmn");
        Find<QPushButton>("ModRenameFBtn")->click();
        QVERIFY(Find<QLineEdit>("ModRenOldnameEdit")->isEnabled());
        Find<QPushButton>("ShowModCreateBtn")->setEnabled(false);
        Form11->close(); // closed: nothing sent, Create given back
        QCOMPARE(Sent(*program->server, "fm_rename_apply"), 0);
        QVERIFY(Find<QPushButton>("ShowModCreateBtn")->isEnabled());

        Find<QPushButton>("ShowModCreateBtn")->click();
        QVERIFY(Form10->isVisible());
        Find<QPushButton>("ShowModCreateBtn")->setEnabled(false); // the dialog gives it back when done
        Find<QLineEdit>("ModCreateFEdit")->setText(" new_1 ");
        Find<QPushButton>("ModCreateFBtn")->click();
        QCOMPARE(Sent(*program->server, "fm_mkdir_apply"), 1);
        QVERIFY(!Form10->isVisible());
        QCOMPARE(Find<QLineEdit>("ModCreateFEdit")->text(), QString());
        QVERIFY(Find<QPushButton>("ShowModCreateBtn")->isEnabled());
    }
};

QTEST_MAIN(FtpPagesTest)
#include "FtpPages.moc"
