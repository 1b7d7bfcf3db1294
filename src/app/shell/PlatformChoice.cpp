#include "app/shell/PlatformChoice.h"

namespace {
bool isWaylandSession(const QProcessEnvironment& environment) {
    return environment.value(QStringLiteral("XDG_SESSION_TYPE")) == QLatin1String("wayland") ||
           !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
}

bool userChosePlatform(const QProcessEnvironment& environment, const QStringList& arguments) {
    return !environment.value(QStringLiteral("QT_QPA_PLATFORM")).isEmpty() ||
           arguments.contains(QLatin1String("-platform")) || arguments.contains(QLatin1String("--platform"));
}
} // namespace

bool shouldPreferXcb(const QProcessEnvironment& environment, const QStringList& arguments) {
    return isWaylandSession(environment) && !environment.value(QStringLiteral("DISPLAY")).isEmpty() &&
           !userChosePlatform(environment, arguments);
}
