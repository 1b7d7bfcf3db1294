#pragma once

#include "ui/kit/CardFrame.h"

class StatColumn;

// Prompts counted, reps done and sets owed, side by side; owed sets stand out in red.
class TotalsCard : public CardFrame {
    Q_OBJECT

public:
    explicit TotalsCard(QWidget* parent = nullptr);

    void setTotals(qint64 totalRequests, qint64 repsDone, qint64 pendingSets);

    const StatColumn& total() const { return *m_total; }
    const StatColumn& done() const { return *m_done; }
    const StatColumn& owed() const { return *m_owed; }

private:
    StatColumn* m_total;
    StatColumn* m_done;
    StatColumn* m_owed;
};
