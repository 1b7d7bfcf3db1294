#include "app/cli/ExplainReport.h"

#include <QJsonArray>
#include <QStringList>

namespace {
QString reason(LineVerdict verdict) {
    const std::string_view text = reasonText(verdict);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString counted(std::int64_t count, const QString& one, const QString& many) {
    return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? one : many);
}
} // namespace

QString explanationText(const QString& file, const TranscriptExplanation& explanation, bool withLines) {
    std::int64_t ignored = 0;
    for (const auto& [verdict, count] : explanation.ignored) {
        ignored += count;
    }
    // Claude Code's transcripts are the usual case; another assistant's log is named.
    const std::string_view assistant = assistantName(explanation.assistant);
    const QString named =
        explanation.assistant == Assistant::Claude
            ? file
            : QStringLiteral("%1 (%2)").arg(
                  file, QString::fromUtf8(assistant.data(), static_cast<qsizetype>(assistant.size())));
    QStringList rows{
        QStringLiteral("%1: %2, %3")
            .arg(named, counted(explanation.prompts, QStringLiteral("prompt"), QStringLiteral("prompts")),
                 counted(ignored, QStringLiteral("other line"), QStringLiteral("other lines")))};
    for (const auto& [verdict, count] : explanation.ignored) {
        rows.append(QStringLiteral("  %1  %2").arg(count, 6).arg(reason(verdict)));
    }
    if (withLines) {
        for (const auto& [line, verdict] : explanation.lines) {
            rows.append(QStringLiteral("  line %1: %2").arg(line).arg(reason(verdict)));
        }
    }
    return rows.join(QLatin1Char('\n'));
}

QJsonObject explanationJson(const QString& file, const TranscriptExplanation& explanation, bool withLines) {
    QJsonObject ignored;
    for (const auto& [verdict, count] : explanation.ignored) {
        ignored.insert(reason(verdict), static_cast<qint64>(count));
    }
    QJsonObject object{{QStringLiteral("file"), file},
                       {QStringLiteral("prompts"), static_cast<qint64>(explanation.prompts)},
                       {QStringLiteral("ignored"), ignored}};
    if (withLines) {
        QJsonArray lines;
        for (const auto& [line, verdict] : explanation.lines) {
            lines.append(QJsonObject{{QStringLiteral("line"), static_cast<qint64>(line)},
                                     {QStringLiteral("verdict"), reason(verdict)}});
        }
        object.insert(QStringLiteral("lines"), lines);
    }
    return object;
}
