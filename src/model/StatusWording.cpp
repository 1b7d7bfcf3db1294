#include "model/StatusWording.h"

#include <QStringList>

namespace {
QString setsWords(qint64 sets) {
    return sets == 1 ? QStringLiteral("1 set") : QStringLiteral("%1 sets").arg(sets);
}

QString repsWords(const StatusCounters& counters) {
    return QStringLiteral("%1 %2").arg(counters.repsPerSet).arg(counters.exercise.toLower());
}
} // namespace

namespace StatusWording {

QString title(const StatusCounters& counters) {
    const QString progress = QStringLiteral("%1/%2").arg(counters.promptsThisSet()).arg(counters.promptLimit);
    return counters.pendingSets >= 1 ? QString::number(counters.pendingSets) : progress;
}

QString line(const StatusCounters& counters, bool running) {
    QStringList parts{
        QStringLiteral("%1/%2 prompts").arg(counters.promptsThisSet()).arg(counters.promptLimit),
        counters.pendingSets < 1 ? QStringLiteral("no set owed")
                                 : setsWords(counters.pendingSets) + QStringLiteral(" owed"),
        repsWords(counters),
    };
    if (!running) {
        parts.append(QStringLiteral("not running"));
    }
    return parts.join(QStringLiteral(" · "));
}

QString tooltip(const StatusCounters& counters, bool running) {
    QString first;
    if (counters.pendingSets >= 1) {
        first = QStringLiteral("%1 of %2 owed").arg(setsWords(counters.pendingSets), repsWords(counters));
    } else if (counters.promptLimit >= 1) {
        first = QStringLiteral("%1 of %2 prompts toward a set of %3")
                    .arg(counters.promptsThisSet())
                    .arg(counters.promptLimit)
                    .arg(repsWords(counters));
    } else {
        first = QStringLiteral("No sets are owed while prompts per set is below 1");
    }
    const QString second = running ? QStringLiteral("%1 prompts counted").arg(counters.totalPrompts)
                                   : QStringLiteral("Zentrel is not running");
    return first + QLatin1Char('\n') + second;
}

QString state(const StatusCounters& counters) {
    return counters.pendingSets >= 1 ? QStringLiteral("owed") : QStringLiteral("counting");
}

} // namespace StatusWording
