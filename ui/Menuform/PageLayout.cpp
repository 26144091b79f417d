#include "ui/Menuform/PageLayout.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

#include "ui/Application/AnsiText.h"
#include "ui/Application/WindowText.h"

CaptionCover::CaptionCover(QWidget* box, QRadioButton* button, QWidget* input)
    : QObject(box), box(box), button(button), input(input)
{
    box->installEventFilter(this);
}

void CaptionCover::updateMinimumSize()
{
    const int height = std::max(button->sizeHint().height(), input->sizeHint().height());
    const int width = std::max(button->sizeHint().width(), captionLeft() + input->minimumSizeHint().width());
    box->setMinimumSize(width, height);
    place();
}

bool CaptionCover::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == box && event->type() == QEvent::Resize)
        place();
    return false;
}

int CaptionCover::captionLeft() const
{
    QStyleOptionButton option;
    option.initFrom(button);
    return button->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, button).left();
}

void CaptionCover::place()
{
    const QRect area = box->rect();
    button->setGeometry(area);
    const int left = captionLeft();
    const int height = input->sizeHint().height();
    input->setGeometry(left, (area.height() - height) / 2, area.width() - left, height);
    input->raise();
}

void GroupPair(QWidget* owner, QRadioButton* first, QRadioButton* second)
{
    auto* group = new QButtonGroup(owner);
    group->addButton(first);
    group->addButton(second);
}

void FillList(QComboBox* list, const QStringList& entries)
{
    list->clear();
    list->addItems(entries); // one insertion, not one per entry
    list->setCurrentIndex(-1);
}

std::string SelectedEntryText(const QComboBox* list)
{
    return list->currentIndex() < 0 ? std::string() : ToAnsi(list->itemText(list->currentIndex()));
}

void FitEditsToCharacters(std::initializer_list<QLineEdit*> edits)
{
    for (QLineEdit* edit : edits) {
        const QFontMetrics metrics(edit->font());
        QStyleOptionFrame option;
        option.initFrom(edit);
        // The digits, the edit's own margins and its frame, counted here:
        // some styles (the Windows ones) widen a line edit to a minimum
        // that would push the date's format hint off the page.
        const int frame = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
        const QMargins margins = edit->textMargins();
        edit->setFixedWidth(metrics.horizontalAdvance(QString(TypingLimit(edit), QLatin1Char('0'))) + 8 +
                            2 * frame + margins.left() + margins.right() + 4);
    }
}

void AlignLabelColumns(const QList<QGridLayout*>& grids)
{
    const auto widest = [&](std::initializer_list<int> columns, bool labels) {
        int width = 0;
        for (QGridLayout* grid : grids)
            for (int column : columns)
                for (int row = 0; row < grid->rowCount(); ++row) {
                    QLayoutItem* item = grid->itemAtPosition(row, column);
                    if (!item || !item->widget() || (qobject_cast<QLabel*>(item->widget()) != nullptr) != labels)
                        continue;
                    int firstRow, firstColumn, rows, columnsSpanned;
                    grid->getItemPosition(grid->indexOf(item->widget()), &firstRow, &firstColumn, &rows,
                                          &columnsSpanned);
                    if (columnsSpanned == 1)
                        width = std::max(width, labels ? item->sizeHint().width() : item->minimumSize().width());
                }
        return width;
    };
    const int firstLabels = widest({0}, true);
    const int secondLabels = widest({2}, true);
    const int fields = widest({1, 3}, false);
    for (QGridLayout* grid : grids) {
        grid->setColumnMinimumWidth(0, firstLabels);
        grid->setColumnMinimumWidth(2, secondLabels);
        grid->setColumnMinimumWidth(1, fields);
        grid->setColumnMinimumWidth(3, fields);
        grid->setColumnStretch(1, 1);
        grid->setColumnStretch(3, 1);
    }
}
