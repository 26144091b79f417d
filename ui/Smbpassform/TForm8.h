#pragma once

#include <QScopedPointer>

#include <string>

#include "ui/Application/SetDialog.h"

namespace Ui {
class TForm8;
}

// The share-password dialog of the File Server page.
class TForm8 : public SetDialog {
    Q_OBJECT
public:
    explicit TForm8(QWidget* parent = nullptr);
    ~TForm8() override;

    // Shown for that shared folder, with the focus in the password field.
    void OpenForFolder(const std::string& folder);

public slots:
    void PublicPassBtnClick();

private:
    QScopedPointer<Ui::TForm8> ui_;
};
