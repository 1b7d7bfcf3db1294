#pragma once

#include "model/CompletedSet.h"

#include <QByteArray>
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

    // Rebuilds the rows only when the entries, the locale or the time zone differ from what
    // they show, so showing the tab again costs nothing while the history stands still.
    void setEntries(const QList<CompletedSet>& entries, const QLocale& locale);

private:
    void clearRows();

    QList<CompletedSet> m_entries;
    QLocale m_locale;
    QByteArray m_timeZone;

    CardFrame* m_emptyCard;
    CardFrame* m_listCard;
    QVBoxLayout* m_rows;
};
