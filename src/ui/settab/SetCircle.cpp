#include "ui/settab/SetCircle.h"

#include "ui/kit/CirclePainter.h"
#include "ui/kit/FocusRing.h"
#include "ui/kit/Glyphs.h"
#include "ui/kit/Palette.h"
#include "ui/kit/SpringAnimation.h"
#include "ui/settab/SetCompletion.h"

#include <QPainter>
#include <QVariantAnimation>
#include <algorithm>

namespace {
struct Appearance {
    QColor disc;
    QColor ring;
    qreal scale;
};

const Appearance idle{Palette::withAlpha(Palette::accentCyan, 0.12), Palette::accentCyan, 1.0};
const Appearance hovered{Palette::withAlpha(Palette::successGreen, 0.15), Palette::successGreen, 1.08};
const Appearance completing{Palette::accentCyan, Palette::accentCyan, 1.15};

constexpr int figureSize = 11;
constexpr int checkSize = 13;

QFont checkFont() {
    QFont font = Glyphs::font(checkSize);
    font.setBold(true);
    return font;
}

void drawGlyph(QPainter& painter, const QRectF& box, char16_t glyph, const QFont& font, const QColor& colour,
               qreal opacity) {
    if (opacity <= 0) {
        return;
    }
    painter.setOpacity(opacity);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(box, Qt::AlignCenter, Glyphs::text(glyph));
    painter.setOpacity(1);
}
} // namespace

SetCircle::SetCircle(int index, SetCompletion& completion, QWidget* parent)
    : QAbstractButton(parent)
    , m_index(index)
    , m_completion(completion)
    , m_completing(new SpringAnimation(completingSpring, this))
    , m_hover(new QVariantAnimation(this)) {
    setObjectName(QStringLiteral("setCircle%1").arg(index));
    setAccessibleName(QStringLiteral("Complete set %1").arg(index + 1));
    setFocusPolicy(Qt::TabFocus);
    setFixedSize(sizeHint());
    m_hover->setEasingCurve(Motion::easeInOut());
    m_completing->jumpTo(completion.isCompleting(index) ? 1 : 0);

    connect(m_completing, &SpringAnimation::valueChanged, this, qOverload<>(&QWidget::update));
    connect(m_hover, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_hoverAmount = value.toReal();
        update();
    });
    connect(&completion, &SetCompletion::lastCompletedIndexChanged, this, &SetCircle::followCompletion);
    connect(this, &QAbstractButton::clicked, &completion, [this] { m_completion.tap(m_index); });
}

SetCircle::Look SetCircle::look() const {
    if (m_completion.isCompleting(m_index)) {
        return Look::Completing;
    }
    return m_isHovered ? Look::Hovered : Look::Idle;
}

qreal SetCircle::shownScale() const {
    const qreal resting = idle.scale + (hovered.scale - idle.scale) * m_hoverAmount;
    // The spring's overshoot is kept on purpose: the circle pops past its final size.
    return resting + (completing.scale - resting) * m_completing->value();
}

QSize SetCircle::sizeHint() const {
    return QSize(slotSize, slotSize);
}

void SetCircle::paintEvent(QPaintEvent*) {
    const qreal hover = m_hoverAmount;
    const qreal complete = std::clamp(m_completing->value(), qreal(0), qreal(1));
    const QColor disc = Palette::mix(Palette::mix(idle.disc, hovered.disc, hover), completing.disc, complete);
    const QColor ring = Palette::mix(Palette::mix(idle.ring, hovered.ring, hover), completing.ring, complete);
    const qreal check = complete + (1 - complete) * hover;

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = QRectF(rect()).center();
    FocusRing::paint(painter, *this, rect(), slotSize / 2.0);
    painter.translate(centre);
    painter.scale(shownScale(), shownScale());
    CirclePainter::paint(painter, QPointF(), diameter, disc, ring);
    const QRectF box(-diameter / 2.0, -diameter / 2.0, diameter, diameter);
    drawGlyph(painter, box, Glyphs::exerciseFigure, Glyphs::font(figureSize), Palette::accentCyan, 1 - check);
    drawGlyph(painter, box, Glyphs::checkmark, checkFont(),
              Palette::mix(Palette::successGreen, Qt::black, complete), check);
}

void SetCircle::enterEvent(QEnterEvent*) {
    setHovered(true);
}

void SetCircle::leaveEvent(QEvent*) {
    setHovered(false);
}

// A circle that leaves the row forgets the pointer; it may never see the leave event.
void SetCircle::hideEvent(QHideEvent*) {
    m_hover->stop();
    m_isHovered = false;
    m_hoverAmount = 0;
}

void SetCircle::setHovered(bool hovered) {
    if (hovered == m_isHovered) {
        return;
    }
    m_isHovered = hovered;
    // Completing wins over hovering by drawing on top of it, so the hover blend simply follows the
    // pointer and is already right when the completion ends under it.
    m_hover->stop();
    m_hover->setStartValue(m_hoverAmount);
    m_hover->setEndValue(hovered ? 1.0 : 0.0);
    m_hover->setDuration(Motion::duration(hoverDurationMs));
    m_hover->start();
}

void SetCircle::followCompletion() {
    m_completing->animateTo(m_completion.isCompleting(m_index) ? 1 : 0);
}
