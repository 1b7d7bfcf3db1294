#include "cli/Tool.h"

#include "Preferences.h"
#include "cli/StatusFollower.h"
#include "cli/StatusText.h"
#include "cli/ZentrelClient.h"
#include "dbus/ZentrelBus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <cstdio>

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
    printLine(stdout, m_invocation.json ? statusJson(status) : statusLine(status).toUtf8());
}

int Tool::status() {
    ZentrelClient client(QDBusConnection::sessionBus());
    printStatus(client.currentStatus());
    return 0;
}

int Tool::followStatus() {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        printStatus(StatusSnapshot::fromStore(Preferences()));
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

int Tool::explain() {
    return fail(QStringLiteral("explain is not built yet"));
}
