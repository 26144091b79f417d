#pragma once

#include <QScopedPointer>
#include <QWidget>
#include <memory>

class Drives;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
namespace Ui {
class TForm5;
}

// The network-drive window: connects a free drive letter of the workstation
// to a shared folder of the appliance picked in the discovery list.
class TForm5 : public QWidget {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);
    ~TForm5() override;

    QLabel* Label1;
    QComboBox* CmbDrive;
    QLabel* Label2;
    QComboBox* FolderCB;
    QLabel* Label3;
    QLineEdit* FolderPassEdit;
    QCheckBox* LoginConn_CheckBox;
    QPushButton* MountSetBtn;

public slots:
    void FormShow();
    void MountSetBtnClick();
    void FormClose();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void fillFolders();
    int pickedDrive() const;
    int pickedFolder() const;

    QScopedPointer<Ui::TForm5> ui_;
    std::unique_ptr<Drives> drives_;
    // Text typed into a list's edit field stands for no entry at all.
    bool driveTyped_ = false;
    bool folderTyped_ = false;
    int foldersShown_ = -1;
    bool connecting_ = false;
};
