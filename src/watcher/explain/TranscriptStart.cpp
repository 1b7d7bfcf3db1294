#include "watcher/explain/TranscriptStart.h"

#include "watcher/reading/TranscriptLines.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

std::optional<std::int64_t> recordTime(std::string_view line) {
    const QJsonDocument record =
        QJsonDocument::fromJson(QByteArray::fromRawData(line.data(), static_cast<qsizetype>(line.size())));
    const QDateTime time = QDateTime::fromString(record.object().value(QLatin1String("timestamp")).toString(),
                                                 Qt::ISODateWithMs);
    return time.isValid() ? std::optional(time.toMSecsSinceEpoch()) : std::nullopt;
}

} // namespace

std::optional<std::int64_t> transcriptStart(const std::string& path) {
    std::optional<std::int64_t> start;
    readLinesUntil(path, [&start](std::string_view line) {
        start = recordTime(line);
        return start.has_value();
    });
    return start;
}
