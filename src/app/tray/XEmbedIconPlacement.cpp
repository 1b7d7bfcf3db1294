#include "app/tray/XEmbedIconPlacement.h"

#include <QSystemTrayIcon>

XEmbedIconPlacement::XEmbedIconPlacement(const QSystemTrayIcon& icon, QObject* parent)
    : QObject(parent)
    , m_icon(icon) {
    connect(&m_poll, &QTimer::timeout, this, &XEmbedIconPlacement::check);
    m_waited.start();
    m_poll.start(pollInterval);
    // Looked at once straight away too, once the owner has connected: while the dock request is
    // still on its way, the icon is certainly at the origin.
    QMetaObject::invokeMethod(this, &XEmbedIconPlacement::check, Qt::QueuedConnection);
}

void XEmbedIconPlacement::check() {
    if (m_icon.geometry().topLeft() != QPoint(0, 0) || m_waited.hasExpired(patience.count())) {
        m_poll.stop();
        Q_EMIT placed();
    }
}
