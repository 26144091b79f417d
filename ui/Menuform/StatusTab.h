#pragma once

#include <QWidget>

#include <functional>
#include <memory>
#include <string>

#include "ui/Menuform/DateTimeLogic.h"
#include "ui/Menuform/StatusTabLogic.h"

class CommandSender;
class QLineEdit;

namespace Ui {
class StatusTab;
}

// The management window's first page (TabSheet1): identification, administrator
// password, date and time, network and disk facts, language.
class StatusTab : public QWidget {
    Q_OBJECT

public:
    explicit StatusTab(QWidget* parent = nullptr);
    ~StatusTab() override;

    // Every caption, looked up; setText is the looked-up "Set" for the five buttons.
    void SetCaptions(const std::string& setText);
    void setCommandSender(CommandSender* sender, std::function<int()> activeTabIndex);

    // Makes what only a shown tab needs: the edit parts of the lists and the
    // sizes that follow the captions. Runs once; the window calls it before
    // it first shows.
    void FinishBuilding();

    QLineEdit* passEdit();
    QLineEdit* verifyEdit();

public slots:
    void TabSheet1Show();
    void identBtnClick();
    void adminBtnClick();
    void NetinfoBtnClick();
    void LangBtnClick();
    void DatatimeBtnClick();
    void TimeSSelRBClick();
    void TimeSMakeRBClick();

signals:
    void managementEnabledRequested(bool enabled);
    void loginWindowRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    class CaptionCover;

    void FillDateTimeGroup(const DateTimeLogic::DateTimeValues& values);
    void ShowTimeServerInput(bool listed);
    void Send(const Command& command, const char* caption);
    void FitEditsToCharacters();
    void AlignLabelColumns();
    void MeasureLayout();

    std::unique_ptr<Ui::StatusTab> ui;
    CaptionCover* listedServerCover = nullptr;
    CaptionCover* typedServerCover = nullptr;
    CommandSender* sender = nullptr;
    std::function<int()> activeTabIndex;
    bool built = false; // FinishBuilding has run
};
