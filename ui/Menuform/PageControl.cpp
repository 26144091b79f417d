#include "ui/Menuform/PageControl.h"

#include <QPainter>

PageControlTabBar::PageControlTabBar(QWidget* parent)
    : QTabBar(parent)
{
    setObjectName("PageControl1TabBar");
    setDrawBase(false);
}

std::array<bool, PageCount> PageControlTabBar::tabsShown() const
{
    std::array<bool, PageCount> shown{};
    for (int index = 0; index < count() && index < PageCount; ++index)
        shown[index] = isTabVisible(index);
    return shown;
}

void PageControlTabBar::paintEvent(QPaintEvent* event)
{
    if (!drawTab) {
        QTabBar::paintEvent(event);
        return;
    }
    QPainter painter(this);
    int position = 0;
    for (int index = 0; index < count(); ++index) {
        if (!isTabVisible(index))
            continue;
        drawTab(painter, position, tabRect(index), index == currentIndex());
        ++position;
    }
}

PageControl::PageControl(QWidget* parent)
    : QTabWidget(parent), bar(new PageControlTabBar(this))
{
    setTabBar(bar);
}
