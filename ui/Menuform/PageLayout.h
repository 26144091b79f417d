#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

#include <initializer_list>
#include <string>

#include "ui/Application/AnsiText.h"

class QComboBox;
class QGridLayout;
class QLineEdit;
class QRadioButton;
class QWidget;

// Layout pieces the management window's pages share.

// Keeps an input over the caption of its radio button, leaving the indicator
// free: while the input is hidden the caption shows instead.
class CaptionCover final : public QObject {
public:
    CaptionCover(QWidget* box, QRadioButton* button, QWidget* input);
    void updateMinimumSize();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int captionLeft() const;
    void place();

    QWidget* box;
    QRadioButton* button;
    QWidget* input;
};

// Two radio buttons that exclude each other and nothing else; none is checked at first.
void GroupPair(QWidget* owner, QRadioButton* first, QRadioButton* second);

// Fills a list with fixed entries in one insertion, none selected.
void FillList(QComboBox* list, const QStringList& entries);
template <typename Entries>
void FillList(QComboBox* list, const Entries& entries)
{
    QStringList texts;
    for (const char* entry : entries)
        texts << ToQString(entry);
    FillList(list, texts);
}

// The picked entry's text; empty when none is picked (a typed text is no pick).
std::string SelectedEntryText(const QComboBox* list);

// Short fields as wide as the characters the user may type into them.
void FitEditsToCharacters(std::initializer_list<QLineEdit*> edits);

// The captions of every group box line up in two columns, whatever their
// language: label columns 0 and 2 as wide as their widest caption, the field
// columns 1 and 3 as wide as each other in every grid.
void AlignLabelColumns(const QList<QGridLayout*>& grids);
