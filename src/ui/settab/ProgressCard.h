#pragma once

#include "ui/kit/CardFrame.h"

class PanelLabel;
class ProgressBar;
class PromptCountView;
class TrackerState;

// How far the user is into the current set: the count over the limit, a status line and a bar.
class ProgressCard : public CardFrame {
    Q_OBJECT

public:
    static constexpr int padding = 14;
    static constexpr int spacing = 6;
    static constexpr qreal cornerRadius = 10;

    explicit ProgressCard(const TrackerState& state, QWidget* parent = nullptr);

    static QString statusLine(qint64 promptsThisSet, qint64 promptLimit);

private:
    void refresh();

    const TrackerState& m_state;
    PromptCountView* m_count;
    PanelLabel* m_status;
    ProgressBar* m_bar;
};
