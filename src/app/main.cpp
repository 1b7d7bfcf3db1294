#include "FileWatcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcWatcher, "zentrel.watcher", QtWarningMsg)

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QString configDir = qEnvironmentVariable("CLAUDE_CONFIG_DIR");
    const QString root = configDir.isEmpty() ? QDir::homePath() + QStringLiteral("/.claude/projects")
                                             : configDir + QStringLiteral("/projects");
    FileWatcher watcher;
    qint64 counted = 0;
    watcher.onNewRequest = [&counted] { qCInfo(lcWatcher) << "prompt counted:" << ++counted; };
    watcher.start(root);
    return QCoreApplication::exec();
}
