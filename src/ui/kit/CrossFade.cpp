#include "ui/kit/CrossFade.h"

#include "ui/kit/Motion.h"

#include <QPainter>
#include <QVariantAnimation>

CrossFade::CrossFade(QWidget* parent)
    : QWidget(parent)
    , m_animation(new QVariantAnimation(this)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
    m_animation->setEasingCurve(Motion::easeInOut());
    m_animation->setStartValue(1.0);
    m_animation->setEndValue(0.0);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_opacity = value.toReal();
        update();
    });
    connect(m_animation, &QVariantAnimation::finished, this, [this] {
        hide();
        m_snapshot = QPixmap();
    });
}

void CrossFade::start(QWidget* target, int durationMs) {
    m_animation->stop();
    if (Motion::duration(durationMs) <= 0 || !target->isVisible()) {
        hide();
        return;
    }
    m_snapshot = target->grab();
    m_opacity = 1;
    setGeometry(target->geometry());
    raise();
    show();
    m_animation->setDuration(durationMs);
    m_animation->start();
}

bool CrossFade::isRunning() const {
    return m_animation->state() == QAbstractAnimation::Running;
}

void CrossFade::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setOpacity(m_opacity);
    painter.drawPixmap(rect(), m_snapshot);
}
