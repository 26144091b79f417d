#pragma once

#include <QScopedPointer>

#include "ui/Application/SetDialog.h"

namespace Ui {
class TForm9;
}

// The create-account dialog of the FTP Server page: a new read-only account.
class TForm9 : public SetDialog {
    Q_OBJECT

public:
    explicit TForm9(QWidget* parent = nullptr);
    ~TForm9() override;

    // Shown over the management window with the focus in the name field.
    void OpenDialog();

public slots:
    void FTPAddAccBtnClick();

private:
    QScopedPointer<Ui::TForm9> ui;
};
