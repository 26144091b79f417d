#pragma once

#include <QScopedPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "discovery/DeviceList.h"

class QProgressBar;
class QPushButton;
class QSocketNotifier;
class QTimer;
class QTreeWidget;
class UdpEndpoint;
namespace Ui {
class TForm1;
}

// The discovery window, the program's main window: searches the network for
// appliances and lists each one that answers.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    // Throws std::runtime_error when the discovery port cannot be bound.
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    QProgressBar* ProgressBar1;
    QTreeWidget* HDListView;
    QPushButton* ScanBtn;
    QTimer* Timer1;

    // How closing this window ends the process; tests replace it.
    static std::function<void(int exitCode)> EndProcess;

public slots:
    void ScanBtnClick();
    void IdUDPServer1UDPRead(const std::string& datagram, const std::string& senderAddress);
    void Timer1Timer();
    void HDListViewClick();
    void FormClose();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void readWaitingDatagrams();
    void setCaptions();

    QScopedPointer<Ui::TForm1> ui_;
    std::unique_ptr<UdpEndpoint> IdUDPServer1;
    QSocketNotifier* readNotifier_ = nullptr;
    DeviceList devices_;
};
