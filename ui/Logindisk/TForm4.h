#pragma once

#include <QScopedPointer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
namespace Ui {
class TForm4;
}

// The login window: proves the typed credentials against the picked
// appliance, then opens the management or the network-drive window.
class TForm4 : public QWidget {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);
    ~TForm4() override;

    QLabel* Label1;
    QLineEdit* UserEdit;
    QLabel* Password;
    QLineEdit* PassEdit;
    QPushButton* MountBtn;
    QPushButton* MenBtn;

    // Puts the keyboard focus in PassEdit, its text selected.
    void FocusPassword();

public slots:
    void MenBtnClick();
    void MountBtnClick();
    void FormShow();
    void FormClose();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QScopedPointer<Ui::TForm4> ui_;
};
