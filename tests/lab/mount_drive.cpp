// The network-drive window in the lab workstation, through real message
// boxes: the fake appliance NAS1 lists the shared folders, a real SMB server
// at the same address serves them, and GVFS mounts them in a private desktop
// session (tests/lab/smb-share.sh).
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>

#include "support/ProgramWindows.h"
#include "support/SimControl.h"
#include "ui/Application/MessageBoxNotifier.h"

namespace {

struct Box {
    QString text, caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

QString Env(const char* name)
{
    return QString::fromLocal8Bit(std::getenv(name) ? std::getenv(name) : "");
}

QString LinkOf(char letter)
{
    return QDir::homePath() + "/Network Drives/" + letter;
}

QString AutostartOf(char letter)
{
    return QDir::homePath() + "/.config/autostart/q70config-drive-" + letter + ".desktop";
}

QStringList Entries(QComboBox* list)
{
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->itemText(i);
    return entries;
}

// Picks an entry from the list as a user does: it becomes current and is reported as chosen.
void Pick(QComboBox* list, const QString& entry)
{
    const int index = list->findText(entry);
    QVERIFY2(index >= 0, qPrintable(entry));
    list->setCurrentIndex(index);
    emit list->activated(index);
}

QString Gio(const QStringList& arguments)
{
    QProcess gio;
    gio.start("gio", arguments);
    gio.closeWriteChannel();
    if (!gio.waitForFinished(20000))
        gio.kill();
    return QString::fromLocal8Bit(gio.readAllStandardOutput());
}

} // namespace

class MountDriveLabTest : public QObject {
    Q_OBJECT

    MessageBoxNotifier notifier;
    SimControl nas1 = SimControl::fromEnv("NAS1");
    QString address = Env("SIM_NAS1_ADDRESS");

    // Clicks the button and answers the one box it shows with OK.
    Box PressAndAnswer(QPushButton* button, int limitMs = 30000)
    {
        Box box;
        QElapsedTimer waited;
        waited.start();
        std::function<void()> answer = [&] {
            auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!shown) {
                if (waited.elapsed() < limitMs)
                    QTimer::singleShot(20, answer);
                return;
            }
            box = {shown->text(), shown->windowTitle(), shown->icon()};
            QTest::mouseClick(shown->button(QMessageBox::Ok), Qt::LeftButton);
        };
        QTimer::singleShot(0, answer);
        QTest::mouseClick(button, Qt::LeftButton);
        return box;
    }

    void Connect(char letter, const QString& folder, const QString& password, const QString& expected)
    {
        Pick(Form5->CmbDrive, QString(letter));
        if (!folder.isEmpty())
            Pick(Form5->FolderCB, folder);
        Form5->FolderPassEdit->setText(password);
        const Box box = PressAndAnswer(Form5->MountSetBtn);
        QCOMPARE(box.text, expected);
        QCOMPARE(box.caption, QString("Connect"));
        QCOMPARE(box.icon, QMessageBox::Information);
    }

    static void WriteThrough(char letter, const QString& name, const QByteArray& bytes)
    {
        QFile file(LinkOf(letter) + "/" + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), qint64(bytes.size()));
    }

    static QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

private slots:
    void initTestCase()
    {
        SetNotifier(&notifier);
        // "ghost" is shared by the appliance but not served by the file server.
        nas1.post("/state/shared_folders", "public|data|ghost");
        CreateForms();
        Form1->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form1));
    }

    void cleanupTestCase()
    {
        Gio({"mount", "--unmount-scheme", "smb"});
        QTRY_VERIFY_WITH_TIMEOUT(!Gio({"mount", "-l"}).contains("smb://"), 10000);
        for (char letter : {'Z', 'Y', 'X', 'W', 'V'}) {
            QFile::remove(LinkOf(letter));
            QFile::remove(AutostartOf(letter));
        }
        QVERIFY(QDir(QDir::homePath() + "/Network Drives").isEmpty());
        DestroyForms();
        SetNotifier(nullptr);
    }

    void loginAndConnectOpensTheWindow()
    {
        QTest::mouseClick(Form1->ScanBtn, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(Form1->HDListView->topLevelItemCount(), 1, 5000);
        Form1->Timer1->stop();
        QTreeWidgetItem* row = Form1->HDListView->topLevelItem(0);
        QTest::mouseClick(Form1->HDListView->viewport(), Qt::LeftButton, {}, Form1->HDListView->visualItemRect(row).center());
        QVERIFY(Form4->isVisible());
        QTest::keyClicks(Form4->PassEdit, "admin");
        QTest::mouseClick(Form4->MountBtn, Qt::LeftButton);
        QVERIFY(Form5->isVisible());
        QVERIFY(!Form4->isVisible());
        QCOMPARE(Form5->windowTitle(), QString("Connect Disk"));
        QCOMPARE(Form5->size(), QSize(241, 175));
        QCOMPARE(Entries(Form5->CmbDrive).join(""), QString("ZYXWVUTSRQPONMLKJIHGFED"));
        QCOMPARE(Form5->CmbDrive->currentText(), QString("Z"));
        QCOMPARE(Entries(Form5->FolderCB), QStringList({"public", "data", "ghost"}));
        QVERIFY(Form5->LoginConn_CheckBox->isChecked());
    }

    void thePublicShareConnectsWithoutAPassword()
    {
        if (const char* shot = std::getenv("Q70_SCREENSHOT")) {
            Pick(Form5->FolderCB, "public");
            QVERIFY(Form5->grab().save(shot));
        }
        Connect('Z', "public", "", "Remote Device Connected");
        QVERIFY(QFileInfo(LinkOf('Z')).isSymLink());
        QVERIFY(QFileInfo(LinkOf('Z')).isDir());
        WriteThrough('Z', "hello.txt", "written through Z");
        QCOMPARE(ReadFile(Env("SMB_PUBLIC_DIR") + "/hello.txt"), QByteArray("written through Z"));
        // After a success the folder list shows its first entry again.
        QCOMPARE(Form5->FolderCB->currentText(), QString("public"));
        // Comes back at the next login: the autostart entry mounts the share and links the letter again.
        Gio({"mount", "-u", "smb://" + address + "/public"});
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo(LinkOf('Z')).isDir(), 10000);
        QFile::remove(LinkOf('Z'));
        Gio({"launch", AutostartOf('Z')});
        QTRY_COMPARE_WITH_TIMEOUT(ReadFile(LinkOf('Z') + "/hello.txt"), QByteArray("written through Z"), 15000);
    }

    void aSecondSetOnTheSameLetterIsRefused()
    {
        Connect('Z', "public", "", "The local device is already connected to a network resource.");
    }

    void theNextVisitNoLongerOffersTheLetter()
    {
        Form5->LoginConn_CheckBox->setChecked(false);
        Form5->close();
        QVERIFY(Form4->isVisible());
        QTest::mouseClick(Form4->MountBtn, Qt::LeftButton);
        QVERIFY(Form5->isVisible());
        QCOMPARE(Entries(Form5->CmbDrive).join(""), QString("YXWVUTSRQPONMLKJIHGFED"));
        QCOMPARE(Form5->CmbDrive->currentText(), QString("Y"));
        QVERIFY(Form5->LoginConn_CheckBox->isChecked());
    }

    void thePasswordShareRefusesAWrongPasswordAndTakesTheRightOne()
    {
        Connect('Y', "data", "wrong", "The password is invalid.");
        QVERIFY(!QFileInfo::exists(LinkOf('Y')));
        Connect('Y', "data", Env("SMB_PASSWORD"), "Remote Device Connected");
        WriteThrough('Y', "report.txt", "kept on the data share");
        QCOMPARE(ReadFile(Env("SMB_DATA_DIR") + "/report.txt"), QByteArray("kept on the data share"));
        // No keyring in this session: the password is stored nowhere, so no autostart entry either.
        QVERIFY(!QFileInfo::exists(AutostartOf('Y')));
        QProcess grep;
        grep.start("grep", {"-rqF", Env("SMB_PASSWORD"), QDir::homePath()});
        QVERIFY(grep.waitForFinished(10000));
        QCOMPARE(grep.exitCode(), 1);
    }

    void anUnknownShareIsNamedSo()
    {
        Connect('X', "ghost", "", "The resource name is invalid, or the named resource cannot be located.");
        QVERIFY(!QFileInfo::exists(LinkOf('X')));
    }

    void aTypedFolderIsNotUsedButPublicIs()
    {
        Pick(Form5->CmbDrive, "W");
        Form5->FolderCB->lineEdit()->clear();
        QTest::keyClicks(Form5->FolderCB->lineEdit(), "data");
        Form5->FolderPassEdit->setText(Env("SMB_PASSWORD"));
        const Box box = PressAndAnswer(Form5->MountSetBtn);
        QCOMPARE(box.text, QString("Remote Device Connected"));
        QCOMPARE(ReadFile(LinkOf('W') + "/hello.txt"), QByteArray("written through Z"));
    }

    void anApplianceThatIsNotThereMeansNoNetwork()
    {
        // Nothing answers at this address of the segment.
        auto* row = new QTreeWidgetItem(Form1->HDListView, QStringList{"192.168.1.99", "GONE", "OFFICE", "2.4.17"});
        Form1->HDListView->setCurrentItem(row);
        QElapsedTimer took;
        took.start();
        Connect('V', "public", "", "No network.");
        QVERIFY2(took.elapsed() < 25000, qPrintable(QString::number(took.elapsed())));
        QVERIFY(!QFileInfo::exists(LinkOf('V')));
    }

    void setWithoutALetterAsksForOne()
    {
        Form5->CmbDrive->lineEdit()->clear();
        QTest::keyClicks(Form5->CmbDrive->lineEdit(), "V");
        const Box box = PressAndAnswer(Form5->MountSetBtn);
        QCOMPARE(box.text, QString("Please Select Disk Name!"));
        QCOMPARE(box.caption, QString("Connection Error"));
        QCOMPARE(box.icon, QMessageBox::Question);
    }
};

QTEST_MAIN(MountDriveLabTest)
#include "mount_drive.moc"
