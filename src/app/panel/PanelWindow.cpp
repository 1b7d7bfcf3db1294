#include "panel/PanelWindow.h"

#include "AppLog.h"
#include "panel/PanelPlacement.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPainterPath>
#include <QRegion>
#include <QScreen>
#include <QVBoxLayout>

namespace {
bool isWaylandPlatform() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

QList<ScreenArea> screenAreas() {
    QList<ScreenArea> areas;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary)
        areas.append({primary->geometry(), primary->availableGeometry()});
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (const QScreen* screen : screens) {
        if (screen != primary)
            areas.append({screen->geometry(), screen->availableGeometry()});
    }
    return areas;
}

QRegion roundedRegion(const QSize& size, int radius) {
    QPainterPath path;
    path.addRoundedRect(QRectF(QPointF(0, 0), size), radius, radius);
    return QRegion(path.toFillPolygon().toPolygon());
}
} // namespace

PanelWindow::PanelWindow(QWidget* content, const QSize& size, QWidget* parent)
    : QWidget(parent,
              isWaylandPlatform() ? Qt::Tool | Qt::FramelessWindowHint : Qt::Popup | Qt::FramelessWindowHint)
    , m_hidesOnDeactivation(isWaylandPlatform()) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(content);
    setFixedSize(size);
}

void PanelWindow::togglePanel(const std::optional<QRect>& anchor) {
    if (isVisible()) {
        hide();
        return;
    }
    if (m_sinceHidden.isValid() && !m_sinceHidden.hasExpired(reopenGuard.count()))
        return;
    showPanel(anchor);
}

void PanelWindow::showPanel(const std::optional<QRect>& anchor) {
    move(positionFor(anchor));
    show();
    raise();
    activateWindow();
    qCInfo(lcApp) << "panel shown at" << pos();
    Q_EMIT panelShown();
}

QPoint PanelWindow::positionFor(const std::optional<QRect>& anchor) const {
    return placePanel(anchor.value_or(QRect(QCursor::pos(), QSize(0, 0))), size(), screenAreas());
}

bool PanelWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate && m_hidesOnDeactivation)
        hide();
    return QWidget::event(event);
}

void PanelWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    m_sinceHidden.start();
}

// A window mask rounds the corners with or without a compositor.
void PanelWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    setMask(roundedRegion(size(), cornerRadius));
}
