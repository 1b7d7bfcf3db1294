#include "ui/activity/HistoryRow.h"

#include "ui/kit/Glyphs.h"
#include "ui/kit/Palette.h"
#include "ui/kit/PanelLabel.h"
#include "ui/kit/Typography.h"

#include <QHBoxLayout>

namespace {
constexpr int checkmarkSize = 12;

QString summary(const CompletedSet& entry) {
    return QString::number(entry.reps) + QLatin1Char(' ') + entry.exerciseType.toLower();
}
} // namespace

HistoryRow::HistoryRow(const CompletedSet& entry, const QLocale& locale, QWidget* parent)
    : QWidget(parent)
    , m_entryId(entry.id)
    , m_summary(new PanelLabel(summary(entry), Typography::system(12, QFont::Medium), Qt::white, this))
    , m_time(new PanelLabel(locale.toString(entry.date.toLocalTime().time(), QLocale::ShortFormat),
                            Typography::system(11), Palette::mutedGrey, this)) {
    auto* checkmark = new PanelLabel(Glyphs::text(Glyphs::checkmarkCircle), Glyphs::font(checkmarkSize),
                                     Palette::accentCyan, this);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->addWidget(checkmark, 0, Qt::AlignVCenter);
    layout->addWidget(m_summary, 0, Qt::AlignVCenter);
    layout->addStretch();
    layout->addWidget(m_time, 0, Qt::AlignVCenter);
}

QString HistoryRow::summaryText() const {
    return m_summary->text();
}
QString HistoryRow::timeText() const {
    return m_time->text();
}
