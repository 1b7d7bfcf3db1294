#include "watcher/explain/TranscriptStart.h"

#include "watcher/reading/AppendedLineReader.h"
#include "watcher/reading/TranscriptFile.h"
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
    const UniqueFd file = openTranscript(path);
    AppendedLineReader reader;
    reader.begin(file.get(), 0, readableLength(file));
    while (const auto lines = reader.next()) {
        for (std::string_view text = lines->text; !text.empty();) {
            if (const auto time = recordTime(takeLine(text))) {
                return time;
            }
        }
    }
    return std::nullopt;
}
