#pragma once

#include <memory>

#include "ui/Menuform/ManagementPage.h"

class QPushButton;

namespace Ui {
class ModifyFtpTab;
}

// The management window's sixth page (TabSheet6), whose tab is shown only
// while an account is modified: the appliance's current FTP account, its
// password and right, the folders shared with it, and the disk's folders.
class ModifyFtpTab : public ManagementPage {
    Q_OBJECT

public:
    explicit ModifyFtpTab(QWidget* parent = nullptr);
    ~ModifyFtpTab() override;

    void ShowPage() override;
    // Given back by the folder dialogs when they are done or closed.
    QPushButton* folderCreateButton();

public slots:
    void TabSheet6Show();
    void ModFTPBtnClick();
    void FTPSFLBClick();
    void FTPSSharLBClick();
    void ModMovetoSharBtnClick();
    void ModMovetoFolderBtnClick();
    void ShowModCreateBtnClick();
    void ShowModRenameBtnClick();
    void ModDelBtnClick();
    void BackBtnClick();

signals:
    // This page's tab shown, the FTP Server page set aside (its tab stays).
    void accountFolderModeKept();
    // Back to the FTP Server page, this page's tab hidden.
    void backRequested();

private:
    void ResetFolderButtons();
    void ClearSelections();
    std::string Account() const;

    std::unique_ptr<Ui::ModifyFtpTab> ui;
};
