#pragma once

#include <memory>

#include "ui/Menuform/DateTimeLogic.h"
#include "ui/Menuform/ManagementPage.h"
#include "ui/Menuform/StatusTabLogic.h"

class CaptionCover;
class QLineEdit;

namespace Ui {
class StatusTab;
}

// The management window's first page (TabSheet1): identification, administrator
// password, date and time, network and disk facts, language.
class StatusTab : public ManagementPage {
    Q_OBJECT

public:
    explicit StatusTab(QWidget* parent = nullptr);
    ~StatusTab() override;

    void ShowPage() override;

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
    // The edit parts of the lists and the sizes that follow the captions.
    void BuildOnFirstShow() override;

private:
    void FillDateTimeGroup(const DateTimeLogic::DateTimeValues& values);
    void ShowTimeServerInput(bool listed);
    void FitEditsToCharacters();
    void AlignLabelColumns();
    void MeasureLayout();

    std::unique_ptr<Ui::StatusTab> ui;
    CaptionCover* listedServerCover = nullptr;
    CaptionCover* typedServerCover = nullptr;
};
