#include "ui/activity/TotalsCard.h"

#include "ui/activity/StatColumn.h"

#include <QHBoxLayout>

TotalsCard::TotalsCard(QWidget* parent)
    : CardFrame(10, parent)
    , m_total(new StatColumn(QStringLiteral("TOTAL"), this))
    , m_done(new StatColumn(QStringLiteral("DONE"), this))
    , m_owed(new StatColumn(QStringLiteral("OWED"), this)) {
    m_total->setObjectName(QStringLiteral("totalColumn"));
    m_done->setObjectName(QStringLiteral("doneColumn"));
    m_owed->setObjectName(QStringLiteral("owedColumn"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(20, 12, 20, 12);
    layout->addWidget(m_total, 0, Qt::AlignVCenter);
    layout->addStretch();
    layout->addWidget(m_done, 0, Qt::AlignVCenter);
    layout->addStretch();
    layout->addWidget(m_owed, 0, Qt::AlignVCenter);
}

void TotalsCard::setTotals(qint64 totalRequests, qint64 repsDone, qint64 pendingSets) {
    m_total->setValue(totalRequests);
    m_done->setValue(repsDone);
    m_owed->setValue(pendingSets);
    m_owed->setHighlighted(pendingSets > 0);
}
