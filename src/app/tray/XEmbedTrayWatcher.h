#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

// Tells when an XEmbed tray may have started on the X display. A tray announces itself with a
// client message to the root window. Rather than decode it (naming its atoms would mean linking
// libxcb ourselves), every client message counts as a hint and the owner asks Qt again whether
// a tray runs: one round trip to the X server, and only for as long as the owner keeps this
// object. The filter removes itself from the event loop when it is destroyed.
class XEmbedTrayWatcher : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    explicit XEmbedTrayWatcher(QObject* parent = nullptr);

    // False where trays cannot be XEmbed ones (Wayland), so there is nothing to watch for.
    static bool isAvailable();

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

Q_SIGNALS:
    void trayMayHaveStarted();
};
