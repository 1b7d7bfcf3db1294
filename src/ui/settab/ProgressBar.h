#pragma once

#include "ui/kit/Motion.h"

#include <QWidget>

class SpringAnimation;

// The thin bar under the progress card's status line: a track as wide as offered and a
// gradient fill whose width springs to follow the fraction.
class ProgressBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int barHeight = 5;
    static constexpr int topPadding = 4;
    static constexpr qreal cornerRadius = 3;
    static constexpr Motion::Spring fillSpring{0.5, 0.8};

    explicit ProgressBar(QWidget* parent = nullptr);

    void setFraction(qreal fraction); // springs from the fill shown now
    void jumpTo(qreal fraction);
    qreal shownFraction() const; // where the fill is at this moment of the animation

    // The fill's width for an offered width: 0 when the product is negative or not a number,
    // never wider than the track.
    static qreal fillWidth(qreal offeredWidth, qreal fraction);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SpringAnimation* m_fill;
};
