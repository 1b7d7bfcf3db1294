#include "ui/activity/HistoryList.h"

#include "ui/activity/HistoryRow.h"
#include "ui/kit/CardFrame.h"
#include "ui/kit/Divider.h"
#include "ui/kit/Palette.h"
#include "ui/kit/PanelLabel.h"
#include "ui/kit/Typography.h"

#include <QTimeZone>
#include <QVBoxLayout>

namespace {
constexpr qreal cornerRadius = 10;
constexpr int dividerInset = 12;

CardFrame* emptyCard(QWidget* parent) {
    auto* card = new CardFrame(cornerRadius, parent);
    card->setObjectName(QStringLiteral("emptyHistory"));
    auto* text = new PanelLabel(QStringLiteral("No sets completed yet"), Typography::system(12),
                                Palette::mutedGrey, card);
    text->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(card);
    layout->setContentsMargins(0, 16, 0, 16);
    layout->addWidget(text);
    return card;
}
} // namespace

HistoryList::HistoryList(QWidget* parent)
    : QWidget(parent)
    , m_emptyCard(emptyCard(this))
    , m_listCard(new CardFrame(cornerRadius, this))
    , m_rows(new QVBoxLayout(m_listCard)) {
    m_listCard->setObjectName(QStringLiteral("historyRows"));
    m_rows->setContentsMargins(0, 0, 0, 0);
    m_rows->setSpacing(0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_emptyCard);
    layout->addWidget(m_listCard);
    m_listCard->hide();
}

void HistoryList::setEntries(const QList<CompletedSet>& entries, const QLocale& locale) {
    const QByteArray timeZone = QTimeZone::systemTimeZoneId();
    if (entries == m_entries && locale == m_locale && timeZone == m_timeZone) {
        return;
    }
    m_entries = entries;
    m_locale = locale;
    m_timeZone = timeZone;
    clearRows();
    for (qsizetype index = 0; index < entries.size(); ++index) {
        if (index > 0) {
            m_rows->addWidget(new Divider(Palette::panelBackground, dividerInset, m_listCard));
        }
        m_rows->addWidget(new HistoryRow(entries[index], locale, m_listCard));
    }
    m_emptyCard->setVisible(entries.isEmpty());
    m_listCard->setVisible(!entries.isEmpty());
}

void HistoryList::clearRows() {
    while (QLayoutItem* item = m_rows->takeAt(0)) {
        delete item->widget();
        delete item;
    }
}
