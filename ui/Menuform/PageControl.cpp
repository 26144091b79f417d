#include "ui/Menuform/PageControl.h"

#include <QKeyEvent>
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

QSize PageControlTabBar::tabSizeHint(int index) const
{
    constexpr int Margin = 14;
    return {fontMetrics().horizontalAdvance(tabText(index)) + Margin, QTabBar::tabSizeHint(index).height()};
}

PageControl::PageControl(QWidget* parent)
    : QTabWidget(parent), bar(new PageControlTabBar(this))
{
    setTabBar(bar);
}

void PageControl::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool control = event->modifiers() & Qt::ControlModifier;
    const bool tabKey = key == Qt::Key_Tab || key == Qt::Key_Backtab;
    const bool pageKey = key == Qt::Key_PageUp || key == Qt::Key_PageDown;
    if (!control || !(tabKey || pageKey) || count() < 2) {
        QTabWidget::keyPressEvent(event);
        return;
    }
    const int step = (key == Qt::Key_Backtab || key == Qt::Key_PageUp) ? -1 : 1;
    int page = currentIndex();
    for (int pass = 0; pass < count(); ++pass) {
        page = (page + step + count()) % count();
        if (isTabVisible(page) && isTabEnabled(page)) {
            setCurrentIndex(page);
            break;
        }
    }
}
