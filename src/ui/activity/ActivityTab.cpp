#include "ui/activity/ActivityTab.h"

#include "model/TrackerState.h"
#include "ui/activity/HeatmapCalendar.h"
#include "ui/activity/HeatmapCard.h"
#include "ui/activity/HeatmapLegend.h"
#include "ui/activity/HistoryList.h"
#include "ui/activity/TotalsCard.h"
#include "ui/kit/PanelLabel.h"

#include <QLocale>
#include <QVBoxLayout>

namespace {
qint64 repsDone(const QList<CompletedSet>& history) {
    qint64 sum = 0;
    for (const CompletedSet& entry : history) {
        sum += entry.reps;
    }
    return sum;
}

QVBoxLayout* sectionLayout(QWidget* section, const QString& title) {
    auto* layout = new QVBoxLayout(section);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(PanelLabel::sectionHeader(title, section));
    return layout;
}
} // namespace

ActivityTab::ActivityTab(const TrackerState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_totals(new TotalsCard(this))
    , m_heatmap(new HeatmapCard(this))
    , m_history(new HistoryList(this)) {
    m_totals->setObjectName(QStringLiteral("totalsCard"));
    m_heatmap->setObjectName(QStringLiteral("heatmapCard"));
    m_history->setObjectName(QStringLiteral("historyList"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(14);
    layout->addWidget(m_totals);
    layout->addWidget(activitySection());
    layout->addWidget(historySection());
    layout->addStretch();

    connect(&state, &TrackerState::totalRequestsChanged, this, &ActivityTab::refreshTotals);
    connect(&state, &TrackerState::pendingSetsChanged, this, &ActivityTab::refreshTotals);
    connect(&state, &TrackerState::completedHistoryChanged, this, &ActivityTab::refreshTotals);
    connect(&state, &TrackerState::completedHistoryChanged, this, &ActivityTab::refreshHistory);
    connect(&state, &TrackerState::dailyPromptsChanged, this, &ActivityTab::refreshHeatmap);
    refresh();
}

QWidget* ActivityTab::activitySection() {
    auto* section = new QWidget(this);
    QVBoxLayout* layout = sectionLayout(section, QStringLiteral("ACTIVITY"));
    layout->addWidget(m_heatmap);
    auto* legend = new HeatmapLegend(section);
    legend->setObjectName(QStringLiteral("heatmapLegend"));
    layout->addWidget(legend, 0, Qt::AlignLeft);
    return section;
}

QWidget* ActivityTab::historySection() {
    auto* section = new QWidget(this);
    QVBoxLayout* layout = sectionLayout(section, QStringLiteral("COMPLETED SETS"));
    layout->addWidget(m_history);
    return section;
}

void ActivityTab::refresh() {
    refreshTotals();
    refreshHeatmap();
    refreshHistory();
}

void ActivityTab::showEvent(QShowEvent* event) {
    refresh();
    QWidget::showEvent(event);
}

void ActivityTab::refreshTotals() {
    m_totals->setTotals(m_state.totalRequests(), repsDone(m_state.completedHistory()), m_state.pendingSets());
}

void ActivityTab::refreshHeatmap() {
    const QLocale locale;
    m_heatmap->setDays(HeatmapCalendar::heatmapWeeks(m_state.now(), locale.firstDayOfWeek()),
                       m_state.dailyPrompts(), locale);
}

void ActivityTab::refreshHistory() {
    m_history->setEntries(m_state.completedHistory(), QLocale());
}
