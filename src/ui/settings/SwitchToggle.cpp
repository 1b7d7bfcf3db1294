#include "ui/settings/SwitchToggle.h"

#include "ui/kit/CardPainter.h"
#include "ui/kit/FocusRing.h"
#include "ui/kit/Palette.h"

#include <QPainter>

namespace {
constexpr qreal knobInset = 2;
constexpr qreal offTrackOpacity = 0.2;
} // namespace

SwitchToggle::SwitchToggle(QWidget* parent)
    : QAbstractButton(parent) {
    setCheckable(true);
    setFocusPolicy(Qt::TabFocus);
    setFixedSize(trackWidth, trackHeight);
}

QRectF SwitchToggle::knobRect() const {
    const qreal diameter = trackHeight - 2 * knobInset;
    const qreal left = isChecked() ? trackWidth - knobInset - diameter : knobInset;
    return {left, knobInset, diameter, diameter};
}

void SwitchToggle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal radius = trackHeight / 2.0;
    const QColor track = isChecked() ? Palette::accentCyan : Palette::withAlpha(Qt::white, offTrackOpacity);
    CardPainter::fill(painter, rect(), radius, track);
    const QRectF knob = knobRect();
    CardPainter::fill(painter, knob, knob.height() / 2, Qt::white);
    FocusRing::paint(painter, *this, rect(), radius);
}
