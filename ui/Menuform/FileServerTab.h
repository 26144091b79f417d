#pragma once

#include <memory>
#include <string>

#include "ui/Menuform/FileServerTabLogic.h"
#include "ui/Menuform/ManagementPage.h"

class QListWidget;

namespace Ui {
class FileServerTab;
}

// The management window's fourth page (TabSheet4): the appliance's folders
// and the shared ones side by side; share and stop sharing, and create,
// rename, delete and protect folders through its three dialogs.
class FileServerTab : public ManagementPage {
    Q_OBJECT

public:
    explicit FileServerTab(QWidget* parent = nullptr);
    ~FileServerTab() override;

    void ShowPage() override;
    // One of the page's dialogs finished or was closed: only "Create" again.
    void DialogFinished();

public slots:
    void TabSheet4Show();
    void DisableFileServerButtons();
    void SMBFolderLBClick();
    void SMBPublicFolderLBClick();
    void MovetoPublicBtnClick();
    void MovetoSMBBtnClick();
    void ShowCreateBtnClick();
    void ShowRenameBtnClick();
    void ShowDeleteBtnClick();
    void ShowPublicPassBtnClick();

private:
    // DisableFileServerButtons, then the buttons of that state.
    void EnterState(FileServerTabLogic::ButtonState state);
    static std::string SelectedName(const QListWidget* list);
    static void ClearSelection(QListWidget* list);

    std::unique_ptr<Ui::FileServerTab> ui;
};
