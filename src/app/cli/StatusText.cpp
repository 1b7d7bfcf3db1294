#include "cli/StatusText.h"

#include "tray/StatusTitle.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace {
QString setsWords(qint64 sets) {
    return sets == 1 ? QStringLiteral("1 set") : QStringLiteral("%1 sets").arg(sets);
}

QString repsWords(const StatusSnapshot& status) {
    return QStringLiteral("%1 %2").arg(status.repsPerSet).arg(status.exercise.toLower());
}

// Progress through the current set in whole percent; 0 when prompts per set is below 1.
qint64 percentage(const StatusSnapshot& status) {
    if (status.promptLimit < 1) {
        return 0;
    }
    // In floating point: the counters come from a file that can be edited by hand.
    const long double share = 100.0L * status.promptsThisSet / status.promptLimit;
    return std::clamp<qint64>(static_cast<qint64>(share), 0, 100);
}
// The status in words on one or two lines, for a bar's tooltip.
QString tooltip(const StatusSnapshot& status) {
    QString first;
    if (status.pendingSets >= 1) {
        first = QStringLiteral("%1 of %2 owed").arg(setsWords(status.pendingSets), repsWords(status));
    } else if (status.promptLimit >= 1) {
        first = QStringLiteral("%1 of %2 prompts toward a set of %3")
                    .arg(status.promptsThisSet)
                    .arg(status.promptLimit)
                    .arg(repsWords(status));
    } else {
        first = QStringLiteral("No sets are owed while prompts per set is below 1");
    }
    const QString second = status.running ? QStringLiteral("%1 prompts counted").arg(status.totalPrompts)
                                          : QStringLiteral("Zentrel is not running");
    return first + QLatin1Char('\n') + second;
}
} // namespace

QString statusLine(const StatusSnapshot& status) {
    QStringList parts{
        QStringLiteral("%1/%2 prompts").arg(status.promptsThisSet).arg(status.promptLimit),
        status.pendingSets < 1 ? QStringLiteral("no set owed")
                               : setsWords(status.pendingSets) + QStringLiteral(" owed"),
        repsWords(status),
    };
    if (!status.running) {
        parts.append(QStringLiteral("not running"));
    }
    return parts.join(QStringLiteral(" · "));
}

QByteArray statusJson(const StatusSnapshot& status) {
    const QJsonObject object{
        {QStringLiteral("running"), status.running},
        {QStringLiteral("totalPrompts"), status.totalPrompts},
        {QStringLiteral("promptsThisSet"), status.promptsThisSet},
        {QStringLiteral("promptLimit"), status.promptLimit},
        {QStringLiteral("pendingSets"), status.pendingSets},
        {QStringLiteral("repsPerSet"), status.repsPerSet},
        {QStringLiteral("percentage"), percentage(status)},
        {QStringLiteral("exercise"), status.exercise},
        {QStringLiteral("text"),
         statusTitle(status.pendingSets, status.promptsThisSet, status.promptLimit).trimmed()},
        {QStringLiteral("tooltip"), tooltip(status)},
        {QStringLiteral("class"),
         status.pendingSets >= 1 ? QStringLiteral("owed") : QStringLiteral("counting")},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}
