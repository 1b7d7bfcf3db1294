#include "cli/StatusText.h"

#include "tray/StatusTitle.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace {
const QString separator = QStringLiteral(" · ");

QString setsWords(qint64 sets) {
    return sets == 1 ? QStringLiteral("1 set") : QStringLiteral("%1 sets").arg(sets);
}

QString repsWords(const StatusSnapshot& status) {
    return QStringLiteral("%1 %2").arg(status.repsPerSet).arg(status.exercise.toLower());
}
} // namespace

QString statusLine(const StatusSnapshot& status) {
    QString line = QStringLiteral("%1/%2 prompts").arg(status.promptsThisSet).arg(status.promptLimit) +
                   separator +
                   (status.pendingSets < 1 ? QStringLiteral("no set owed")
                                           : setsWords(status.pendingSets) + QStringLiteral(" owed")) +
                   separator + repsWords(status);
    if (!status.running) {
        line += separator + QStringLiteral("not running");
    }
    return line;
}

QString statusTooltip(const StatusSnapshot& status) {
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

qint64 statusPercentage(const StatusSnapshot& status) {
    if (status.promptLimit < 1) {
        return 0;
    }
    // In floating point: the counters come from a file that can be edited by hand.
    const long double share = 100.0L * status.promptsThisSet / status.promptLimit;
    return std::clamp<qint64>(static_cast<qint64>(share), 0, 100);
}

QByteArray statusJson(const StatusSnapshot& status) {
    const QJsonObject object{
        {QStringLiteral("running"), status.running},
        {QStringLiteral("totalPrompts"), status.totalPrompts},
        {QStringLiteral("promptsThisSet"), status.promptsThisSet},
        {QStringLiteral("promptLimit"), status.promptLimit},
        {QStringLiteral("pendingSets"), status.pendingSets},
        {QStringLiteral("repsPerSet"), status.repsPerSet},
        {QStringLiteral("percentage"), statusPercentage(status)},
        {QStringLiteral("exercise"), status.exercise},
        {QStringLiteral("text"),
         statusTitle(status.pendingSets, status.promptsThisSet, status.promptLimit).trimmed()},
        {QStringLiteral("tooltip"), statusTooltip(status)},
        {QStringLiteral("class"),
         status.pendingSets >= 1 ? QStringLiteral("owed") : QStringLiteral("counting")},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}
