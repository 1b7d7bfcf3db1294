#include "TrayDesktop.h"

#include <QStandardPaths>
#include <QStringList>

namespace {
constexpr int startTimeoutMs = 10000;
constexpr int stopTimeoutMs = 5000;
} // namespace

TrayDesktop::TrayDesktop() = default;

TrayDesktop::~TrayDesktop() {
    stop(m_tray);
    stop(m_windowManager);
}

QString TrayDesktop::missingTools() {
    QStringList missing;
    for (const char* tool : {"openbox", "trayer", "xdotool"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            missing.append(QString::fromLatin1(tool));
        }
    }
    return missing.join(QLatin1String(", "));
}

bool TrayDesktop::start() {
    m_windowManager.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_windowManager.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    if (!m_windowManager.waitForStarted(startTimeoutMs)) {
        return false;
    }
    m_tray.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_tray.start(QStringLiteral("trayer"),
                 {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"),
                  QStringLiteral("right"), QStringLiteral("--widthtype"), QStringLiteral("request"),
                  QStringLiteral("--height"), QStringLiteral("24"), QStringLiteral("--SetDockType"),
                  QStringLiteral("true"), QStringLiteral("--SetPartialStrut"), QStringLiteral("true")});
    return m_tray.waitForStarted(startTimeoutMs);
}

void TrayDesktop::stop(QProcess& process) {
    if (process.state() == QProcess::NotRunning) {
        return;
    }
    process.terminate();
    if (!process.waitForFinished(stopTimeoutMs)) {
        process.kill();
    }
    process.waitForFinished(stopTimeoutMs);
}
