#pragma once

#include "CompletedSet.h"

#include <QLocale>
#include <QWidget>

class CardFrame;
class QVBoxLayout;

// The completed sets, newest first, as rows on one card separated by dividers; a card saying
// that there are none when the history is empty.
class HistoryList : public QWidget {
    Q_OBJECT

public:
    explicit HistoryList(QWidget* parent = nullptr);

    void setEntries(const QList<CompletedSet>& entries, const QLocale& locale);

private:
    void clearRows();

    CardFrame* m_emptyCard;
    CardFrame* m_listCard;
    QVBoxLayout* m_rows;
};
