#include "app/tray/XEmbedTrayWatcher.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <xcb/xcb.h>

XEmbedTrayWatcher::XEmbedTrayWatcher(QObject* parent)
    : QObject(parent) {
    QCoreApplication::instance()->installNativeEventFilter(this);
}

bool XEmbedTrayWatcher::isAvailable() {
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>() != nullptr;
}

bool XEmbedTrayWatcher::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    // The high bit marks events another client sent, which the announcement is.
    constexpr quint8 typeMask = 0x7f;
    if (eventType == "xcb_generic_event_t" &&
        (static_cast<const xcb_generic_event_t*>(message)->response_type & typeMask) == XCB_CLIENT_MESSAGE) {
        Q_EMIT trayMayHaveStarted();
    }
    return false;
}
