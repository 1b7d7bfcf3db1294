#include "app/cli/StatusText.h"

#include "model/StatusWording.h"

#include <QJsonDocument>
#include <QJsonObject>

QString statusLine(const StatusSnapshot& status) {
    return StatusWording::line(status.counters, status.running);
}

QByteArray statusJson(const StatusSnapshot& status) {
    const StatusCounters& counters = status.counters;
    const QJsonObject object{
        {QStringLiteral("running"), status.running},
        {QStringLiteral("totalPrompts"), counters.totalPrompts},
        {QStringLiteral("promptsThisSet"), counters.promptsThisSet()},
        {QStringLiteral("promptLimit"), counters.promptLimit},
        {QStringLiteral("pendingSets"), counters.pendingSets},
        {QStringLiteral("repsPerSet"), counters.repsPerSet},
        {QStringLiteral("percentage"), counters.percentage()},
        {QStringLiteral("exercise"), counters.exercise},
        {QStringLiteral("text"), StatusWording::title(counters)},
        {QStringLiteral("tooltip"), StatusWording::tooltip(counters, status.running)},
        {QStringLiteral("class"), StatusWording::state(counters)},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}
