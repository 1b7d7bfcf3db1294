#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A fresh home folder for one test: HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR point below a
// temporary directory for the object's lifetime and are restored afterwards.
class TestHome {
public:
    TestHome();
    ~TestHome();
    TestHome(const TestHome&) = delete;
    TestHome& operator=(const TestHome&) = delete;

    QString path() const { return m_dir.path(); }
    QString configHome() const { return m_dir.path() + QStringLiteral("/.config"); }
    QString projectsDirectory() const { return m_dir.path() + QStringLiteral("/.claude/projects"); }

private:
    QTemporaryDir m_dir;
    QByteArray m_previousHome;
    QByteArray m_previousConfigHome;
    QByteArray m_previousRuntimeDir;
};
