#pragma once

#include "ui/kit/Motion.h"

#include <QAbstractButton>

class SetCompletion;
class SpringAnimation;
class QVariantAnimation;

// One owed set in the owed card's row. Tapping it clears a set through SetCompletion; it shows
// an exercise figure when idle, a green check under the pointer and a solid cyan disc with a
// black check while its set is being cleared.
class SetCircle : public QAbstractButton {
    Q_OBJECT

public:
    enum class Look { Idle, Hovered, Completing };
    Q_ENUM(Look)

    static constexpr int diameter = 34;
    // Room around the disc for the grown circle (scale 1.15) and its ring; the owed card shrinks
    // its own padding and spacing by the same amount, so the discs sit where 34-point frames would.
    static constexpr int growthRoom = 4;
    static constexpr int slotSize = diameter + 2 * growthRoom;
    static constexpr Motion::Spring completingSpring{0.25, 0.5};
    static constexpr int hoverDurationMs = 150;

    SetCircle(int index, SetCompletion& completion, QWidget* parent = nullptr);

    int index() const { return m_index; }
    bool isHovered() const { return m_isHovered; }
    Look look() const;
    qreal shownScale() const; // the scale drawn at this moment of the animations

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void setHovered(bool hovered);
    void followCompletion();

    const int m_index;
    SetCompletion& m_completion;
    bool m_isHovered = false;
    qreal m_hoverAmount = 0;
    SpringAnimation* m_completing; // 0 idle or hovered .. 1 completing
    QVariantAnimation* m_hover;    // 0 idle .. 1 hovered
};
