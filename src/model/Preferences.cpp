#include "model/Preferences.h"

#include "model/CollectionJson.h"
#include "model/PreferenceKeys.h"

#include <QLockFile>
#include <QStandardPaths>

namespace {
// The file keeps scalars as text; anything else (a list, bytes, a serialised variant) is not
// a scalar of any kind. A value this process wrote comes back from QSettings' shared in-process
// cache with the type it was written with, not as text, so those types read as their text.
std::optional<QString> scalarText(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QString:
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Bool:
        return value.toString();
    default:
        return std::nullopt;
    }
}

std::optional<qint64> parseInteger(const QString& text) {
    bool ok = false;
    const qint64 value = text.toLongLong(&ok, 10);
    return ok ? std::optional(value) : std::nullopt;
}

std::optional<bool> parseBoolean(const QString& text) {
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
        return false;
    }
    const auto number = parseInteger(text);
    return number ? std::optional(*number != 0) : std::nullopt;
}

// A process killed between creating the store's lock file and writing its id into it leaves an
// empty lock, which QSettings would wait out for Qt's stale-lock time (30 s) with the start
// frozen. An empty lock that no living process holds (QLockFile checks its native lock before
// removing anything) is taken away first.
const QString& withoutAbandonedLock(const QString& fileName) {
    QLockFile lock(fileName + QStringLiteral(".lock"));
    qint64 pid = 0;
    QString host;
    QString application;
    if (!lock.tryLock(0) && lock.error() == QLockFile::LockFailedError &&
        !lock.getLockInfo(&pid, &host, &application)) {
        lock.removeStaleLockFile();
    }
    return fileName;
}
} // namespace

// The path is worked out here rather than by QSettings' organisation/application form, which
// fixes XDG_CONFIG_HOME once per process; this way each store follows the current environment.
Preferences::Preferences()
    : Preferences(userFileName()) {}

Preferences::Preferences(const QString& fileName)
    : Preferences(fileName, Access::ReadWrite) {}

// QSettings takes its lock only to write, so a reader leaves even an abandoned lock alone: clearing
// it would create and remove a lock file of its own.
const Preferences Preferences::forReading() {
    return Preferences(userFileName(), Access::ReadOnly);
}

Preferences::Preferences(const QString& fileName, Access access)
    : m_settings(access == Access::ReadWrite ? withoutAbandonedLock(fileName) : fileName,
                 QSettings::NativeFormat) {
    // Already the default; stated because every guarantee of sync() rests on it: the file is
    // written beside the old one and renamed over it, never rewritten in place.
    m_settings.setAtomicSyncRequired(true);
}

QString Preferences::userFileName() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/zentrel/zentrel.conf");
}

std::optional<qint64> Preferences::integer(const QString& key) const {
    const auto text = scalarText(m_settings.value(key));
    return text ? parseInteger(*text) : std::nullopt;
}

std::optional<bool> Preferences::boolean(const QString& key) const {
    const auto text = scalarText(m_settings.value(key));
    return text ? parseBoolean(*text) : std::nullopt;
}

std::optional<QString> Preferences::text(const QString& key) const {
    return scalarText(m_settings.value(key));
}

std::optional<QByteArray> Preferences::bytes(const QString& key) const {
    const QVariant value = m_settings.value(key);
    if (value.typeId() != QMetaType::QByteArray) {
        return std::nullopt;
    }
    return value.toByteArray();
}

std::optional<QList<CompletedSet>> Preferences::history() const {
    const auto stored = bytes(PreferenceKeys::completedHistory);
    return stored ? CollectionJson::decodeHistory(*stored) : std::nullopt;
}

std::optional<QMap<QString, qint64>> Preferences::dailyPrompts() const {
    const auto stored = bytes(PreferenceKeys::dailyPrompts);
    return stored ? CollectionJson::decodeDailyPrompts(*stored) : std::nullopt;
}

void Preferences::setInteger(const QString& key, qint64 value) {
    write(key, value);
}

void Preferences::setBoolean(const QString& key, bool value) {
    write(key, value);
}

void Preferences::setText(const QString& key, const QString& value) {
    write(key, value);
}

void Preferences::saveHistory(const QList<CompletedSet>& history) {
    write(PreferenceKeys::completedHistory, CollectionJson::encodeHistory(history));
}

void Preferences::saveDailyPrompts(const QMap<QString, qint64>& dailyPrompts) {
    write(PreferenceKeys::dailyPrompts, CollectionJson::encodeDailyPrompts(dailyPrompts));
}

// Held in memory only: a value on disk without the others of its operation could contradict them.
void Preferences::write(const QString& key, const QVariant& value) {
    m_settings.setValue(key, value);
}

// The status is deliberately not checked: an unwritable store must neither stop counting nor
// fill the log. QSettings keeps every value it failed to write and writes them all at the next
// sync that succeeds.
void Preferences::sync() {
    m_settings.sync();
}
