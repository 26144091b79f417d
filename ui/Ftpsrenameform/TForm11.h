#pragma once

#include <QScopedPointer>

#include <string>

#include "ui/Application/SetDialog.h"

namespace Ui {
class TForm11;
}

// The rename-folder dialog of the Modify FTP page: the folder picked there gets a new name.
class TForm11 : public SetDialog {
    Q_OBJECT

public:
    explicit TForm11(QWidget* parent = nullptr);
    ~TForm11() override;

    // Shown over the management window with the focus in the name field.
    void OpenDialog();
    // The folder picked on the page, the one to rename.
    void SetOldName(const std::string& folder);

public slots:
    void ModRenameFBtnClick();

private:
    QScopedPointer<Ui::TForm11> ui;
};
