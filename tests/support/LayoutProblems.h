#pragma once
// Checks a laid-out page the way a reader looks at it: every visible control
// lies inside the page, shows its whole text, and covers no other control.
// Widgets meant to lie on top of another one are named in `covers`.

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

#include <algorithm>
#include <set>
#include <utility>

inline QString LayoutProblems(const QWidget& page, const std::set<std::pair<QString, QString>>& covers = {})
{
    QString problems;
    QList<QWidget*> controls;
    for (QWidget* widget : page.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&page) || widget->objectName().startsWith("qt_"))
            continue;
        if (qobject_cast<QLabel*>(widget) || qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget)
            || qobject_cast<QAbstractButton*>(widget))
            if (!qobject_cast<QComboBox*>(widget->parentWidget())) // a combo box's own edit part
                controls << widget;
    }
    const auto area = [&](QWidget* widget) { return QRect(widget->mapTo(&page, QPoint(0, 0)), widget->size()); };
    for (QWidget* widget : controls) {
        const QRect rect = area(widget);
        if (!page.rect().contains(rect))
            problems += QString("%1 lies outside the page\n").arg(widget->objectName());
        const QFontMetrics metrics(widget->font());
        QString text;
        int room = widget->width();
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            text = label->text();
            room = label->contentsRect().width() - std::max(label->indent(), 0);
        } else if (qobject_cast<QAbstractButton*>(widget)) {
            if (widget->width() < widget->sizeHint().width())
                problems += QString("%1 is narrower than its caption\n").arg(widget->objectName());
        } else if (auto* box = qobject_cast<QComboBox*>(widget)) {
            text = box->currentText();
            QStyleOptionComboBox option;
            option.initFrom(box);
            option.editable = box->isEditable();
            room = box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box).width();
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            text = edit->echoMode() == QLineEdit::Normal ? edit->text() : QString();
            room = edit->contentsRect().width() - 4; // the text margins
        }
        if (!text.isEmpty() && metrics.horizontalAdvance(text) > room)
            problems += QString("%1 cuts its text \"%2\" (%3 > %4)\n")
                            .arg(widget->objectName(), text)
                            .arg(metrics.horizontalAdvance(text))
                            .arg(room);
        if (widget->height() < metrics.height())
            problems += QString("%1 is lower than its text\n").arg(widget->objectName());
    }
    for (int i = 0; i < controls.size(); ++i)
        for (int j = i + 1; j < controls.size(); ++j) {
            const QString a = controls[i]->objectName(), b = controls[j]->objectName();
            if (covers.count({a, b}) || covers.count({b, a}))
                continue;
            if (area(controls[i]).intersects(area(controls[j])))
                problems += QString("%1 overlaps %2\n").arg(a, b);
        }
    for (QGroupBox* box : page.findChildren<QGroupBox*>())
        if (QFontMetrics(box->font()).horizontalAdvance(box->title()) > box->width())
            problems += QString("%1 cuts its title\n").arg(box->objectName());
    return problems;
}
