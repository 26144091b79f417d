#pragma once

#include <QStringList>
#include <QTabBar>
#include <QTabWidget>
#include <array>
#include <functional>

#include "device/ManagementPages.h"

class QPainter;

// A tab bar whose tabs are painted by its owner; it hands each shown tab's
// position among the shown tabs, its rectangle and whether it is selected.
class PageControlTabBar : public QTabBar {
    Q_OBJECT
public:
    using DrawTab = std::function<void(QPainter& painter, int position, const QRect& rect, bool active)>;

    explicit PageControlTabBar(QWidget* parent = nullptr);
    void setDrawTab(DrawTab draw) { drawTab = std::move(draw); }
    std::array<bool, PageCount> tabsShown() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    // As wide as the caption and a small margin: all seven tabs fit the
    // window while the Modify FTP tab is shown.
    QSize tabSizeHint(int index) const override;

private:
    DrawTab drawTab;
};

// The management window's tab control, with the owner-drawn bar installed.
class PageControl : public QTabWidget {
    Q_OBJECT
public:
    explicit PageControl(QWidget* parent = nullptr);
    PageControlTabBar* pageTabBar() const { return bar; }

protected:
    // Ctrl+Tab and its kin move among the shown tabs only: a page whose tab
    // is hidden is never chosen from the keyboard.
    void keyPressEvent(QKeyEvent* event) override;

private:
    PageControlTabBar* bar;
};
