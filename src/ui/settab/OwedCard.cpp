#include "ui/settab/OwedCard.h"

#include "model/TrackerState.h"
#include "ui/kit/CardPainter.h"
#include "ui/kit/Palette.h"
#include "ui/kit/PanelLabel.h"
#include "ui/kit/Typography.h"
#include "ui/settab/OverflowCircle.h"
#include "ui/settab/SetCircle.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

namespace {
// The circles' slots are wider than their discs by SetCircle::growthRoom on each side; the
// padding and spacing around them give that room back.
constexpr int room = SetCircle::growthRoom;

QHBoxLayout* headerRow(QLabel* count, QWidget* parent) {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(room, 0, 0, 0);
    row->addWidget(count);
    row->addStretch();
    row->addWidget(new PanelLabel(QStringLiteral("TAP WHEN DONE"), Typography::system(9, QFont::Normal, 1),
                                  Palette::mutedGrey, parent));
    return row;
}
} // namespace

OwedCard::OwedCard(const TrackerState& state, SetCompletion& completion, QWidget* parent)
    : CardFrame(cornerRadius, parent, Palette::withAlpha(Palette::accentCyan, 0.07))
    , m_state(state)
    , m_header(new PanelLabel(QString(), Typography::system(10, QFont::Bold, 1.5), Palette::accentCyan, this))
    , m_overflow(new OverflowCircle(this)) {
    setObjectName(QStringLiteral("owedCard"));
    m_header->setObjectName(QStringLiteral("owedHeader"));

    auto* circles = new QHBoxLayout;
    circles->setSpacing(circleSpacing - 2 * room);
    for (int index = 0; index < maxDrawnCircles; ++index) {
        m_circles.append(new SetCircle(index, completion, this));
        circles->addWidget(m_circles.last());
    }
    circles->addWidget(m_overflow);
    circles->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(padding - room, padding, padding, padding - room);
    layout->setSpacing(spacing - room);
    layout->addLayout(headerRow(m_header, this));
    layout->addLayout(circles);

    connect(&state, &TrackerState::pendingSetsChanged, this, &OwedCard::refresh);
    refresh();
}

QString OwedCard::headerText(qint64 pendingSets) {
    return QString::number(pendingSets) +
           (pendingSets == 1 ? QStringLiteral(" SET OWED") : QStringLiteral(" SETS OWED"));
}

int OwedCard::drawnCircles(qint64 pendingSets) {
    return int(std::clamp<qint64>(pendingSets, 0, maxDrawnCircles));
}

qint64 OwedCard::overflowCount(qint64 pendingSets) {
    return std::max<qint64>(pendingSets - maxDrawnCircles, 0);
}

void OwedCard::paintEvent(QPaintEvent* event) {
    CardFrame::paintEvent(event);
    QPainter painter(this);
    CardPainter::outline(painter, rect(), cornerRadius, Palette::withAlpha(Palette::accentCyan, 0.25));
}

void OwedCard::refresh() {
    const qint64 pending = m_state.pendingSets();
    m_header->setText(headerText(pending));
    const int drawn = drawnCircles(pending);
    for (int index = 0; index < m_circles.size(); ++index) {
        m_circles[index]->setVisible(index < drawn);
    }
    m_overflow->setCount(overflowCount(pending));
    m_overflow->setVisible(overflowCount(pending) > 0);
}
