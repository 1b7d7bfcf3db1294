#pragma once

#include <QWidget>

class HeatmapCard;
class HistoryList;
class TotalsCard;
class TrackerState;

// The panel's look back: running totals, ten weeks of prompts per day and the completed sets.
// It only reads the model and redraws whenever a value it shows changes.
class ActivityTab : public QWidget {
    Q_OBJECT

public:
    explicit ActivityTab(const TrackerState& state, QWidget* parent = nullptr);

    // Rebuilds everything from the model and the clock; also done every time the tab is shown,
    // so a panel left hidden overnight does not open on yesterday's heatmap.
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* activitySection();
    QWidget* historySection();
    void refreshTotals();
    void refreshHeatmap();
    void refreshHistory();

    const TrackerState& m_state;
    TotalsCard* m_totals;
    HeatmapCard* m_heatmap;
    HistoryList* m_history;
};
