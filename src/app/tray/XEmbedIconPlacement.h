#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <chrono>

class QSystemTrayIcon;

// Tells when an XEmbed tray has given a docked icon its place. Qt says nothing when the tray
// takes the icon in, and until then the icon's window sits at the screen's origin, so its
// geometry is looked at every few milliseconds until it has moved, for at most `patience`: a tray
// that keeps its icon at the origin is believed after that.
class XEmbedIconPlacement : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds pollInterval{10};
    static constexpr std::chrono::milliseconds patience{1000};

    explicit XEmbedIconPlacement(const QSystemTrayIcon& icon, QObject* parent = nullptr);

Q_SIGNALS:
    void placed();

private:
    void check();

    const QSystemTrayIcon& m_icon;
    QTimer m_poll;
    QElapsedTimer m_waited;
};
