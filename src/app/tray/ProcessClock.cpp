#include "app/tray/ProcessClock.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <ctime>
#include <unistd.h>

namespace {
// Field 22 of /proc/self/stat, in clock ticks since boot. The command name (field 2) may hold
// spaces, so counting starts after its closing parenthesis.
qint64 startTicksSinceBoot() {
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    constexpr int startTimeAfterName = 22 - 3;
    return fields.size() > startTimeAfterName ? fields.at(startTimeAfterName).toLongLong() : -1;
}
} // namespace

qint64 msSinceProcessStart() {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const qint64 ticks = startTicksSinceBoot();
    const qint64 ticksPerSecond = sysconf(_SC_CLK_TCK);
    if (ticks < 0 || ticksPerSecond <= 0) {
        return -1;
    }
    const qint64 nowMs = qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
    return nowMs - ticks * 1000 / ticksPerSecond;
}
