#pragma once

#include <QDBusConnection>
#include <QString>

// Keeps one Zentrel per user session: two would count every prompt twice and race on the
// store. The first start owns the bus name app.zentrel.Zentrel, where its ZentrelService answers
// ShowPanel; a later start asks it to show its panel and then leaves. Without a session bus a
// lock file in the runtime directory does the same job, minus the hand-over.
class SingleInstance {
public:
    explicit SingleInstance(const QDBusConnection& bus);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this process is the one to run. Otherwise the running instance (if it
    // listens on the bus) has been asked to show its panel.
    bool claim();
    // $XDG_RUNTIME_DIR, else a private folder under /tmp.
    static QString lockFilePath();

private:
    enum class BusClaim { Owner, Taken, Failed };
    BusClaim claimBusName();
    void askOwnerToShowPanel();
    bool claimLockFile();

    QDBusConnection m_bus;
    bool m_ownsBusName = false;
    int m_lockFd = -1;
};
