#include "app/panel/PanelWindow.h"

#include "app/panel/PanelPlacement.h"
#include "app/shell/AppLog.h"

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

Qt::WindowFlags popupFlags() {
    return (isWaylandPlatform() ? Qt::Tool : Qt::Popup) | Qt::FramelessWindowHint;
}

QList<ScreenArea> screenAreas() {
    QList<ScreenArea> areas;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary) {
        areas.append({primary->geometry(), primary->availableGeometry()});
    }
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (const QScreen* screen : screens) {
        if (screen != primary) {
            areas.append({screen->geometry(), screen->availableGeometry()});
        }
    }
    return areas;
}

QPoint centredOnPointerScreen(const QSize& size) {
    const QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    const QRect area = (screen ? screen : QGuiApplication::primaryScreen())->availableGeometry();
    QRect window(QPoint(0, 0), size);
    window.moveCenter(area.center());
    return window.topLeft();
}

QRegion roundedRegion(const QSize& size, int radius) {
    QPainterPath path;
    path.addRoundedRect(QRectF(QPointF(0, 0), size), radius, radius);
    return QRegion(path.toFillPolygon().toPolygon());
}
} // namespace

PanelWindow::PanelWindow(QWidget* content, const QSize& size, QWidget* parent)
    : QWidget(parent, popupFlags())
    , m_hidesOnDeactivation(isWaylandPlatform()) {
    setWindowTitle(QStringLiteral("Zentrel"));
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
    if (m_sinceHidden.isValid() && !m_sinceHidden.hasExpired(reopenGuard.count())) {
        return;
    }
    showPanel(anchor);
}

void PanelWindow::showPanel(const std::optional<QRect>& anchor) {
    present(Presentation::Popup);
    move(positionFor(anchor));
    show();
    raise();
    activateWindow();
    qCInfo(lcApp) << "panel shown at" << pos();
    Q_EMIT panelShown();
}

// Without a tray icon to hang from, the panel is an ordinary window that the desktop decorates,
// so it can be found among the other windows and closed like them. It first opens centred on the
// screen in use, however it was started, and later where the user left it.
void PanelWindow::showAsWindow() {
    if (m_presentation != Presentation::Window) {
        present(Presentation::Window);
        move(centredOnPointerScreen(size()));
    }
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    qCInfo(lcApp) << "panel shown as a window";
    Q_EMIT panelShown();
}

// Changing the flags hides the window; the callers show it again.
void PanelWindow::present(Presentation presentation) {
    if (presentation == m_presentation) {
        return;
    }
    m_presentation = presentation;
    setWindowFlags(presentation == Presentation::Window ? Qt::WindowFlags(Qt::Window) : popupFlags());
    updateMask();
}

QPoint PanelWindow::positionFor(const std::optional<QRect>& anchor) const {
    return placePanel(anchor.value_or(QRect(QCursor::pos(), QSize(0, 0))), size(), screenAreas());
}

bool PanelWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate && m_hidesOnDeactivation &&
        m_presentation == Presentation::Popup) {
        hide();
    }
    return QWidget::event(event);
}

void PanelWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    m_sinceHidden.start();
}

void PanelWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    updateMask();
}

// A window mask rounds the popup's corners with or without a compositor; a decorated window
// keeps the desktop's own frame.
void PanelWindow::updateMask() {
    if (m_presentation == Presentation::Popup) {
        setMask(roundedRegion(size(), cornerRadius));
    } else {
        clearMask();
    }
}
