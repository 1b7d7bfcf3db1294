#pragma once

#include "ui/kit/CardFrame.h"

#include <QList>

class OverflowCircle;
class PanelLabel;
class SetCircle;
class SetCompletion;
class TrackerState;

// The owed sets: "<n> SET(S) OWED", the hint, and a row of tappable circles, one per owed set
// up to four, then "+n" for the rest.
class OwedCard : public CardFrame {
    Q_OBJECT

public:
    static constexpr int maxDrawnCircles = 4;
    static constexpr int padding = 14;
    static constexpr int spacing = 10;
    static constexpr int circleSpacing = 8;
    static constexpr qreal cornerRadius = 10;

    OwedCard(const TrackerState& state, SetCompletion& completion, QWidget* parent = nullptr);

    static QString headerText(qint64 pendingSets);
    static int drawnCircles(qint64 pendingSets);
    static qint64 overflowCount(qint64 pendingSets);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void refresh();

    const TrackerState& m_state;
    PanelLabel* m_header;
    QList<SetCircle*> m_circles;
    OverflowCircle* m_overflow;
};
