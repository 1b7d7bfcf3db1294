#pragma once

#include <QString>

// Launch at login through the desktop's autostart folder: an entry there means the session
// starts Zentrel when the user logs in. Nothing is cached; the folder is the only truth.
class LoginItemManager {
public:
    static LoginItemManager& shared();

    // Follows XDG_CONFIG_HOME afresh on every call.
    LoginItemManager() = default;
    // A fixed autostart folder, for tests.
    explicit LoginItemManager(QString autostartFolder);

    // True only when the session would really start us: the entry exists, is not switched off,
    // and the program it names is still there.
    bool isEnabled() const;
    // On failure nothing has changed and error (when given) says why.
    bool setEnabled(bool enabled, QString* error = nullptr) const;

    QString autostartFolder() const;
    QString entryPath() const;

private:
    bool enable(QString* error) const;
    bool disable(QString* error) const;

    QString m_autostartFolder;
};
