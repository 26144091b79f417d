#pragma once

#include <QScopedPointer>
#include <QStringList>
#include <QWidget>

#include <array>

#include "device/CommandExchange.h"
#include "device/CommandSender.h"
#include "ui/Menuform/PageVisibilityLogic.h"

class PageControl;
class QPainter;
class QTimer;
class FileServerTab;
class FtpServerTab;
class IPConfigTab;
class MaintenanceTab;
class ManagementPage;
class ModifyFtpTab;
class StatusTab;
namespace Ui {
class TForm2;
}

// The management window: the tab control with the seven pages of the
// logged-in appliance, the command client and the sender that every page's
// buttons go through. Pages are numbered by their place, hidden tabs counted.
class TForm2 : public QWidget, public CommandSenderWindows {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    PageControl* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QWidget* TabSheet3;
    QWidget* TabSheet4;
    QWidget* TabSheet5;
    QWidget* TabSheet6;
    QWidget* TabSheet7;
    QTimer* Timer1; // firmware upload progress
    QTimer* Timer2; // disk scan report refresh

    StatusTab* statusTab() const { return status; }
    FileServerTab* fileServerTab() const;
    FtpServerTab* ftpServerTab() const;
    ModifyFtpTab* modifyFtpTab() const;
    CommandClient& commandClient() { return NMHTTP1; }
    CommandSender& commandSender() { return sender; }
    const PageVisibilityLogic& pageState() const { return pages; }
    // The captions the tab bar painted last, left to right.
    const QStringList& paintedTabCaptions() const { return painted; }

    // What the login window's "Management" does: first page, empty password fields, shown.
    void OpenOnFirstPage();
    // Selects a page as the program does (no change-of-tab handling).
    void SelectPage(int page);
    // The FTP account-folder mode: "Modify FTP" shown and selected, FTP Server set aside.
    void EnterAccountFolderMode();
    // Every change of tab and the close leave that mode; so does each show of the FTP Server page.
    void LeaveAccountFolderMode();
    // What each show of the Modify FTP page keeps: its tab shown, FTP Server set aside.
    void KeepAccountFolderMode();
    // "Back" on the Modify FTP page: FTP Server selected and read again.
    void BackToFtpServerPage();

    int ActiveTabIndex() override;
    void RefreshPage(int pageNumber) override;
    std::string NewPasswordText() override;
    bool AutomaticIPChosen() override;
    std::string IPAddressText() override;
    void HideManagementWindow() override;
    void ShowDiscoveryAndSearch() override;

public slots:
    void FormShow();
    void FormClose();
    void PageControl1Change();

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void PageControl1DrawTab(QPainter& painter, int position, const QRect& rect, bool active);
    void tabSelectedByUser(int index);
    void syncPageControl();
    void runShowHandlers(const PageVisibilityLogic::ShowHandlers& due);
    void LeaveForDiscoverySearch();

    QScopedPointer<Ui::TForm2> ui_;
    StatusTab* status;
    IPConfigTab* ipConfig;
    MaintenanceTab* maintenance;
    // Each page by its number; a page still to be built is missing.
    std::array<ManagementPage*, PageCount> pageByNumber{};
    CommandClient NMHTTP1;
    CommandSender sender;
    PageVisibilityLogic pages;
    bool syncing = false;
    QStringList painted;
};
