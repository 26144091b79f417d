#pragma once

#include <QScopedPointer>

#include "ui/Application/SetDialog.h"

namespace Ui {
class TForm6;
}

// The create-folder dialog of the File Server page.
class TForm6 : public SetDialog {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);
    ~TForm6() override;

    // Shown with the focus in the name field, which keeps an unfinished entry.
    void OpenForNewFolder();

public slots:
    void CreateFBtnClick();

private:
    QScopedPointer<Ui::TForm6> ui_;
};
