#pragma once

#include <memory>

#include "ui/Menuform/ManagementPage.h"

class QPushButton;

namespace Ui {
class FtpServerTab;
}

// The management window's fifth page (TabSheet5): the FTP service and its
// port, anonymous access, and the FTP accounts, the way into the create
// dialog and the Modify FTP page.
class FtpServerTab : public ManagementPage {
    Q_OBJECT

public:
    explicit FtpServerTab(QWidget* parent = nullptr);
    ~FtpServerTab() override;

    void ShowPage() override;
    // Given back by the create dialog when it is done or closed.
    QPushButton* accountCreateButton();

public slots:
    void TabSheet5Show();
    void FTPStatusBtnClick();
    void AnonyBtnClick();
    void AccountLVClick();
    void AccAddBtnClick();
    void AccModifyBtnClick();
    void AccStatusBtnClick();
    void AccDelBtnClick();

signals:
    // The Modify FTP tab hidden, this page visible again.
    void accountFolderModeLeft();
    // The Modify FTP tab shown and selected, this page set aside.
    void accountFolderModeEntered();

private:
    void ResetAccountButtons();
    // The "Value" column of the selected row; empty with none selected.
    std::string SelectedAccountValue() const;

    std::unique_ptr<Ui::FtpServerTab> ui;
};
