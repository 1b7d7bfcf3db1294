#include "app/shell/DisplayCheck.h"

#include <QLocalSocket>
#include <algorithm>
#include <xcb/xcb.h>

namespace {
constexpr int waylandConnectTimeoutMs = 1000;

// Qt's own options take their value from the next argument, with one dash or two.
QString optionValue(const QStringList& arguments, const QString& name) {
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1Char('-') + name || arguments.at(i) == QLatin1String("--") + name) {
            return arguments.at(i + 1);
        }
    }
    return {};
}

bool x11DisplayOpens(const QProcessEnvironment& environment, const QStringList& arguments) {
    QString display = optionValue(arguments, QStringLiteral("display"));
    if (display.isEmpty()) {
        display = environment.value(QStringLiteral("DISPLAY"));
    }
    if (display.isEmpty()) {
        return false;
    }
    xcb_connection_t* connection = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    const bool opened = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return opened;
}

// Where libwayland-client looks: WAYLAND_DISPLAY, by default "wayland-0", below the runtime folder
// unless it is a path of its own.
bool waylandDisplayOpens(const QProcessEnvironment& environment) {
    QString socketPath = environment.value(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-0"));
    if (!socketPath.startsWith(QLatin1Char('/'))) {
        socketPath = environment.value(QStringLiteral("XDG_RUNTIME_DIR")) + QLatin1Char('/') + socketPath;
    }
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    return socket.waitForConnected(waylandConnectTimeoutMs);
}

bool platformOpens(const QString& platform, const QProcessEnvironment& environment,
                   const QStringList& arguments) {
    if (platform.startsWith(QLatin1String("xcb"))) {
        return x11DisplayOpens(environment, arguments);
    }
    if (platform.startsWith(QLatin1String("wayland"))) {
        return waylandDisplayOpens(environment);
    }
    return true;
}
} // namespace

// A platform the user named is tried as Qt tries it, a list in order; without one, Qt picks X11
// or Wayland by the session, and either will do.
bool canOpenDisplay(const QProcessEnvironment& environment, const QStringList& arguments) {
    QString platforms = optionValue(arguments, QStringLiteral("platform"));
    if (platforms.isEmpty()) {
        platforms = environment.value(QStringLiteral("QT_QPA_PLATFORM"));
    }
    if (platforms.isEmpty()) {
        platforms = QStringLiteral("xcb;wayland");
    }
    const QStringList candidates = platforms.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    return std::any_of(candidates.cbegin(), candidates.cend(), [&](const QString& platform) {
        return platformOpens(platform, environment, arguments);
    });
}
