#pragma once

#include <QScopedPointer>

#include <string>

#include "ui/Application/SetDialog.h"

namespace Ui {
class TForm7;
}

// The rename-folder dialog of the File Server page.
class TForm7 : public SetDialog {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);
    ~TForm7() override;

    // Shown for that folder, with the focus in the new name's field.
    void OpenForFolder(const std::string& folder);

public slots:
    void RenameFBtnClick();

private:
    QScopedPointer<Ui::TForm7> ui_;
};
