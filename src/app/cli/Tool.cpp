#include "app/cli/Tool.h"

#include "app/cli/ExplainReport.h"
#include "app/cli/StatusFollower.h"
#include "app/cli/StatusText.h"
#include "app/cli/ZentrelClient.h"
#include "common/ZentrelBus.h"
#include "model/Preferences.h"
#include "model/StatusWording.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <cstdio>
#include <cstring>

namespace {
// Flushed at once: a bar reading a pipe must see each line as it is printed.
void printLine(std::FILE* stream, const QByteArray& line) {
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

int fail(const QString& message) {
    printLine(stderr, QStringLiteral("zentrel: %1").arg(message).toUtf8());
    return 1;
}
} // namespace

Tool::Tool(Invocation invocation)
    : m_invocation(std::move(invocation)) {}

int Tool::run() {
    switch (m_invocation.command) {
    case Invocation::Command::Status:
        return m_invocation.follow ? followStatus() : status();
    case Invocation::Command::Complete:
        return complete();
    case Invocation::Command::Explain:
        return explain();
    case Invocation::Command::Run:
    case Invocation::Command::Show:
        break;
    }
    return fail(QStringLiteral("this command runs Zentrel itself"));
}

void Tool::printStatus(const StatusSnapshot& status) const {
    printLine(stdout, m_invocation.json ? statusJson(status)
                                        : StatusWording::line(status.counters, status.running).toUtf8());
}

int Tool::status() {
    ZentrelClient client(QDBusConnection::sessionBus());
    printStatus(client.currentStatus());
    return 0;
}

int Tool::followStatus() {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        printStatus(StatusSnapshot::fromStore(Preferences::forReading()));
        return fail(QStringLiteral("no session bus to follow Zentrel on"));
    }
    StatusFollower follower(bus);
    QObject::connect(&follower, &StatusFollower::statusChanged, &follower,
                     [this](const StatusSnapshot& status) { printStatus(status); });
    follower.start();
    return QCoreApplication::exec();
}

int Tool::complete() {
    ZentrelClient client(QDBusConnection::sessionBus());
    if (!client.isRunning()) {
        return fail(QStringLiteral("Zentrel is not running"));
    }
    const QDBusError error = client.completeSet();
    if (error.name() == ZentrelBus::nothingOwedError) {
        return fail(QStringLiteral("no set is owed"));
    }
    if (error.isValid()) {
        return fail(error.message());
    }
    printStatus(client.currentStatus());
    return 0;
}

// A file that cannot be read is told on standard error with the reason; the others are explained.
int Tool::explain() {
    std::vector<std::string> paths;
    for (const QString& file : std::as_const(m_invocation.files)) {
        paths.push_back(QFile::encodeName(file).toStdString());
    }
    QJsonArray explanations;
    bool allRead = true;
    for (const TranscriptExplanation& explanation : explainTranscripts(paths, m_invocation.lines)) {
        const QString file = QFile::decodeName(explanation.path.c_str());
        if (explanation.error != 0) {
            allRead = false;
            fail(QStringLiteral("cannot read %1: %2")
                     .arg(file, QString::fromLocal8Bit(std::strerror(explanation.error))));
        } else if (m_invocation.json) {
            explanations.append(explanationJson(file, explanation, m_invocation.lines));
        } else {
            printLine(stdout, explanationText(file, explanation, m_invocation.lines).toUtf8());
        }
    }
    if (m_invocation.json) {
        printLine(stdout, QJsonDocument(explanations).toJson(QJsonDocument::Compact));
    }
    return allRead ? 0 : 1;
}
