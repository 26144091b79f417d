#pragma once

#include <QStyledItemDelegate>

// Draws cell borders over the usual item painting, so a list in report style
// shows grid lines.
class GridLineDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // A little air above and below the text, so the lines do not touch it.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
