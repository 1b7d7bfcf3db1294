#pragma once

#include <QWidget>

class OwedCard;
class SetCompletion;
class TrackerState;

// The first tab: the progress card, and the owed card while at least one set is owed.
class SetTab : public QWidget {
    Q_OBJECT

public:
    static constexpr int padding = 14;
    static constexpr int spacing = 12;

    SetTab(const TrackerState& state, SetCompletion& completion, QWidget* parent = nullptr);

private:
    void refresh();

    const TrackerState& m_state;
    OwedCard* m_owedCard;
};
