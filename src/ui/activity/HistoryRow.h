#pragma once

#include "model/CompletedSet.h"

#include <QLocale>
#include <QWidget>

class PanelLabel;

// One completed set: a check mark, "<reps> <exercise>" and the time of day it was cleared.
class HistoryRow : public QWidget {
    Q_OBJECT

public:
    HistoryRow(const CompletedSet& entry, const QLocale& locale, QWidget* parent = nullptr);

    QUuid entryId() const { return m_entryId; }
    QString summaryText() const;
    QString timeText() const;

private:
    QUuid m_entryId;
    PanelLabel* m_summary;
    PanelLabel* m_time;
};
