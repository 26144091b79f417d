#pragma once

#include <QStyledItemDelegate>

// Draws cell borders over the usual item painting, so a list in report style
// shows grid lines.
class GridLineDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
