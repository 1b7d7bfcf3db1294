#include "ui/kit/TabButton.h"

#include "ui/kit/FocusRing.h"
#include "ui/kit/Glyphs.h"
#include "ui/kit/Motion.h"
#include "ui/kit/Palette.h"

#include <QPainter>
#include <QVariantAnimation>

namespace {
constexpr qreal focusRadius = 4;
} // namespace

TabButton::TabButton(char16_t glyph, const QString& name, QWidget* parent)
    : QAbstractButton(parent)
    , m_glyph(glyph)
    , m_animation(new QVariantAnimation(this)) {
    setAccessibleName(name);
    setFocusPolicy(Qt::TabFocus);
    setFixedSize(sizeHint());
    m_animation->setEasingCurve(Motion::easeInOut());
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_selection = value.toReal();
        update();
    });
}

void TabButton::setSelected(bool selected, int durationMs) {
    if (selected == m_selected) {
        return;
    }
    m_selected = selected;
    m_animation->stop();
    m_animation->setStartValue(m_selection);
    m_animation->setEndValue(selected ? 1.0 : 0.0);
    m_animation->setDuration(Motion::duration(durationMs));
    m_animation->start();
}

QColor TabButton::shownColour() const {
    return Palette::mix(Palette::mutedGrey, Palette::accentCyan, m_selection);
}

QSize TabButton::sizeHint() const {
    return QSize(glyphSize + 2 * focusRoom, glyphSize + 2 * focusRoom);
}

void TabButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    FocusRing::paint(painter, *this, rect(), focusRadius);
    painter.setFont(Glyphs::font(glyphSize));
    painter.setPen(shownColour());
    painter.drawText(rect(), Qt::AlignCenter, Glyphs::text(m_glyph));
}
