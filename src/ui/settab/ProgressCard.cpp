#include "ui/settab/ProgressCard.h"

#include "model/TrackerState.h"
#include "ui/kit/Palette.h"
#include "ui/kit/PanelLabel.h"
#include "ui/kit/Typography.h"
#include "ui/settab/ProgressBar.h"
#include "ui/settab/PromptCountView.h"

#include <QVBoxLayout>

ProgressCard::ProgressCard(const TrackerState& state, QWidget* parent)
    : CardFrame(cornerRadius, parent)
    , m_state(state)
    , m_count(new PromptCountView(this))
    , m_status(
          new PanelLabel(QString(), Typography::system(10, QFont::Normal, 0.5), Palette::mutedGrey, this))
    , m_bar(new ProgressBar(this)) {
    setObjectName(QStringLiteral("progressCard"));
    m_count->setObjectName(QStringLiteral("promptCount"));
    m_status->setObjectName(QStringLiteral("statusLine"));
    m_bar->setObjectName(QStringLiteral("progressBar"));
    auto* title = new PanelLabel(QStringLiteral("PROMPTS THIS SET"), Typography::system(11, QFont::Bold, 2),
                                 Palette::accentCyan, this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(padding, padding, padding, padding);
    layout->setSpacing(spacing);
    layout->addWidget(m_count);
    layout->addWidget(title, 0, Qt::AlignHCenter);
    layout->addWidget(m_status, 0, Qt::AlignHCenter);
    layout->addWidget(m_bar);

    connect(&state, &TrackerState::promptsThisSetChanged, this, &ProgressCard::refresh);
    connect(&state, &TrackerState::promptLimitChanged, this, &ProgressCard::refresh);
    m_bar->jumpTo(state.status().fraction());
    refresh();
}

QString ProgressCard::statusLine(qint64 promptsThisSet, qint64 promptLimit) {
    if (promptsThisSet == 0) {
        return QStringLiteral("WAITING FOR PROMPTS");
    }
    return QString::number(promptLimit - promptsThisSet) + QStringLiteral(" UNTIL NEXT SET");
}

void ProgressCard::refresh() {
    const qint64 count = m_state.promptsThisSet();
    const qint64 limit = m_state.promptLimit();
    m_count->setValues(count, limit);
    m_status->setText(statusLine(count, limit));
    m_bar->setFraction(m_state.status().fraction());
}
