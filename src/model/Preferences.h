#pragma once

#include "model/CompletedSet.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QSettings>
#include <QString>
#include <optional>

// The per-user store of the model's counters, settings and collections: one QSettings file in
// the native format. Writes are held in memory until sync(), which puts all of them on disk in
// one atomic replacement of the file: a kill leaves the file as it was before that sync or as it
// is after it, never in between. A store that cannot be written is not an error: the sync is
// attempted, its failure ignored, and what it could not write stays held for the next one.
//
// Reading is strict about kinds, because the file can be edited by hand: a value that is not of
// the kind a reader asks for reads as absent, exactly as if the key were missing. The file keeps
// every scalar as text, so:
//  - an integer is base-10 text ("12", "-3"); "abc", "12.5", a list or bytes are not integers;
//  - a boolean is "true" or "false" (any letter case) or an integer (non-zero is true);
//  - text is any single text value, including "12"; a list ("a, b" unquoted) is not text;
//  - bytes are only what was written as bytes (@ByteArray(...)); text is not bytes.
class Preferences {
public:
    // The user's own store: $XDG_CONFIG_HOME/zentrel/zentrel.conf.
    Preferences();
    explicit Preferences(const QString& fileName);
    Preferences(const Preferences&) = delete;
    Preferences& operator=(const Preferences&) = delete;

    // The user's store, to read while no Zentrel runs: nothing in its folder is created, changed or
    // removed, not even for a moment.
    static const Preferences forReading();

    // Where the user's store lives, read from the environment at each call.
    static QString userFileName();

    std::optional<qint64> integer(const QString& key) const;
    std::optional<bool> boolean(const QString& key) const;
    std::optional<QString> text(const QString& key) const;
    // nullopt when the key holds no bytes or they do not decode; the stored bytes stay as they are.
    std::optional<QList<CompletedSet>> history() const;
    std::optional<QMap<QString, qint64>> dailyPrompts() const;

    void setInteger(const QString& key, qint64 value);
    void setBoolean(const QString& key, bool value);
    void setText(const QString& key, const QString& value);
    void saveHistory(const QList<CompletedSet>& history);
    void saveDailyPrompts(const QMap<QString, qint64>& dailyPrompts);
    void sync();

private:
    enum class Access { ReadWrite, ReadOnly };
    Preferences(const QString& fileName, Access access);

    std::optional<QByteArray> bytes(const QString& key) const;
    void write(const QString& key, const QVariant& value);

    QSettings m_settings;
};
