#include "app/autostart/LoginItemManager.h"

#include "app/autostart/AutostartEntry.h"
#include "common/AppIdentity.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <utility>

namespace {

// A desktop entry is a few hundred bytes; anything far larger is not one of ours.
constexpr qint64 maximumEntryBytes = 64 * 1024;

bool fail(QString* error, const QString& reason) {
    if (error) {
        *error = reason;
    }
    return false;
}

// An AppImage runs from a temporary mount, so the session must start the image itself.
QString launchProgram() {
    const QString appImage = qEnvironmentVariable("APPIMAGE");
    if (!appImage.isEmpty()) {
        return QFileInfo(appImage).absoluteFilePath();
    }
    return QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString();
}

bool programExists(const QString& program) {
    if (program.isEmpty()) {
        return false;
    }
    if (!QDir::isAbsolutePath(program)) {
        return !QStandardPaths::findExecutable(program).isEmpty();
    }
    const QFileInfo info(program);
    return info.isFile() && info.isExecutable();
}

} // namespace

LoginItemManager& LoginItemManager::shared() {
    static LoginItemManager instance;
    return instance;
}

LoginItemManager::LoginItemManager(QString autostartFolder)
    : m_autostartFolder(std::move(autostartFolder)) {}

QString LoginItemManager::autostartFolder() const {
    if (!m_autostartFolder.isEmpty()) {
        return m_autostartFolder;
    }
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart");
}

QString LoginItemManager::entryPath() const {
    return autostartFolder() + u'/' + AppIdentity::desktopEntryName;
}

bool LoginItemManager::isEnabled() const {
    QFile file(entryPath());
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const AutostartEntry entry = AutostartEntry::parse(file.read(maximumEntryBytes));
    return !entry.switchedOff() && programExists(entry.program());
}

bool LoginItemManager::setEnabled(bool enabled, QString* error) const {
    return enabled ? enable(error) : disable(error);
}

// Rewritten even when present, so the entry follows a program that has moved.
bool LoginItemManager::enable(QString* error) const {
    const QString program = launchProgram();
    if (program.isEmpty()) {
        return fail(error, QStringLiteral("cannot tell where Zentrel is installed"));
    }
    if (!QDir().mkpath(autostartFolder())) {
        return fail(error, QStringLiteral("cannot create %1").arg(autostartFolder()));
    }
    QSaveFile file(entryPath());
    if (!file.open(QIODevice::WriteOnly) || file.write(AutostartEntry::render(program)) < 0 ||
        !file.commit()) {
        return fail(error, QStringLiteral("cannot write %1: %2").arg(entryPath(), file.errorString()));
    }
    return true;
}

bool LoginItemManager::disable(QString* error) const {
    QFile file(entryPath());
    if (file.remove() || !QFileInfo(entryPath()).exists()) {
        return true;
    }
    return fail(error, QStringLiteral("cannot remove %1: %2").arg(entryPath(), file.errorString()));
}
