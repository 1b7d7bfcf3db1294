#include "TestHome.h"

#include <QDir>

TestHome::TestHome()
    : m_previousHome(qgetenv("HOME"))
    , m_previousConfigHome(qgetenv("XDG_CONFIG_HOME"))
    , m_previousRuntimeDir(qgetenv("XDG_RUNTIME_DIR")) {
    QDir(m_dir.path()).mkpath(QStringLiteral(".claude/projects"));
    QDir(m_dir.path()).mkpath(QStringLiteral(".config"));
    QDir(m_dir.path()).mkpath(QStringLiteral("run"));
    QFile::setPermissions(m_dir.path() + QStringLiteral("/run"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("HOME", m_dir.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", configHome().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", (m_dir.path() + QStringLiteral("/run")).toLocal8Bit());
}

TestHome::~TestHome() {
    qputenv("HOME", m_previousHome);
    qputenv("XDG_CONFIG_HOME", m_previousConfigHome);
    qputenv("XDG_RUNTIME_DIR", m_previousRuntimeDir);
}
