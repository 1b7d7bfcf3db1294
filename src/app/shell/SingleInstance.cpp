#include "app/shell/SingleInstance.h"

#include "app/shell/AppLog.h"
#include "common/AppIdentity.h"
#include "common/ZentrelBus.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int showPanelTimeoutMs = 5000;
} // namespace

SingleInstance::SingleInstance(const QDBusConnection& bus)
    : m_bus(bus) {}

SingleInstance::~SingleInstance() {
    if (m_ownsBusName) {
        m_bus.unregisterService(AppIdentity::busName);
    }
    if (m_lockFd >= 0) {
        ::close(m_lockFd);
    }
}

bool SingleInstance::claim() {
    switch (m_bus.isConnected() ? claimBusName() : BusClaim::Failed) {
    case BusClaim::Taken:
        askOwnerToShowPanel();
        return false;
    case BusClaim::Owner:
    case BusClaim::Failed:
        break;
    }
    // Also taken by the bus owner, so a start that has no bus still finds it.
    return claimLockFile();
}

SingleInstance::BusClaim SingleInstance::claimBusName() {
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        m_bus.interface()->registerService(AppIdentity::busName, QDBusConnectionInterface::DontQueueService,
                                           QDBusConnectionInterface::DontAllowReplacement);
    m_ownsBusName = reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
    if (m_ownsBusName) {
        return BusClaim::Owner;
    }
    if (!reply.isValid()) {
        qCWarning(lcApp) << "cannot claim" << AppIdentity::busName << reply.error().message();
        return BusClaim::Failed;
    }
    return BusClaim::Taken;
}

void SingleInstance::askOwnerToShowPanel() {
    const QDBusMessage call = QDBusMessage::createMethodCall(
        AppIdentity::busName, ZentrelBus::objectPath, ZentrelBus::interface, QStringLiteral("ShowPanel"));
    // BlockWithGui keeps this thread's event loop turning, so the owner may even be this process.
    const QDBusMessage reply = m_bus.call(call, QDBus::BlockWithGui, showPanelTimeoutMs);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        qCWarning(lcApp) << "the running Zentrel did not answer:" << reply.errorMessage();
    } else {
        qCInfo(lcApp) << "Zentrel is already running; asked it to show its panel";
    }
}

QString SingleInstance::lockFilePath() {
    QString directory = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (directory.isEmpty()) {
        directory = QStringLiteral("/tmp/zentrel-%1").arg(::getuid());
        ::mkdir(QFile::encodeName(directory).constData(), 0700);
    }
    return directory + QLatin1Char('/') + AppIdentity::applicationId + QStringLiteral(".lock");
}

// A lock that cannot be taken for other reasons than another holder does not stop the start:
// running twice is the lesser harm than not running at all.
bool SingleInstance::claimLockFile() {
    const QByteArray path = QFile::encodeName(lockFilePath());
    m_lockFd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_lockFd < 0) {
        qCWarning(lcApp) << "cannot open the lock file" << path << ::strerror(errno);
        return true;
    }
    if (::flock(m_lockFd, LOCK_EX | LOCK_NB) == 0) {
        qCInfo(lcApp) << "running as the only instance";
        return true;
    }
    const bool heldElsewhere = errno == EWOULDBLOCK;
    ::close(m_lockFd);
    m_lockFd = -1;
    if (heldElsewhere) {
        qCInfo(lcApp) << "Zentrel is already running";
    }
    return !heldElsewhere;
}
