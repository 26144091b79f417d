#pragma once

#include <QScopedPointer>

#include "ui/Application/SetDialog.h"

namespace Ui {
class TForm10;
}

// The create-folder dialog of the Modify FTP page: a new folder on the disk.
class TForm10 : public SetDialog {
    Q_OBJECT

public:
    explicit TForm10(QWidget* parent = nullptr);
    ~TForm10() override;

    // Shown over the management window with the focus in the name field.
    void OpenDialog();

public slots:
    void ModCreateFBtnClick();

private:
    QScopedPointer<Ui::TForm10> ui;
};
