#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// The desktop entry a session reads from its autostart folder, reduced to what decides whether
// the session will really start the program, and the entry Zentrel writes for itself.
class AutostartEntry {
public:
    static AutostartEntry parse(const QByteArray& contents);
    static QByteArray render(const QString& program);

    // The program the Exec line starts, with the entry's quoting and escaping undone.
    QString program() const;
    // The user (or a session's settings panel) switched the entry off without deleting it.
    bool switchedOff() const;

private:
    QHash<QString, QString> m_keys; // of the [Desktop Entry] group only
};
