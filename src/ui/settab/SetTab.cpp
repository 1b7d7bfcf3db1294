#include "ui/settab/SetTab.h"

#include "model/TrackerState.h"
#include "ui/settab/OwedCard.h"
#include "ui/settab/ProgressCard.h"

#include <QVBoxLayout>

SetTab::SetTab(const TrackerState& state, SetCompletion& completion, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_owedCard(new OwedCard(state, completion, this)) {
    setObjectName(QStringLiteral("setTab"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(padding, padding, padding, padding);
    layout->setSpacing(spacing);
    layout->addWidget(new ProgressCard(state, this));
    layout->addWidget(m_owedCard);
    layout->addStretch();

    connect(&state, &TrackerState::pendingSetsChanged, this, &SetTab::refresh);
    refresh();
}

void SetTab::refresh() {
    m_owedCard->setVisible(m_state.pendingSets() >= 1);
}
