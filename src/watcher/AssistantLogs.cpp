#include "watcher/AssistantLogs.h"

#include <QDir>
#include <QFile>

namespace {

std::string encoded(const QString& path) {
    return QFile::encodeName(QDir::cleanPath(path)).toStdString();
}

QString folderOf(const AssistantLog& log) {
    const QString variable = qEnvironmentVariable(std::string(log.variable).c_str());
    const QString folder = QString::fromLatin1(log.folder.data(), static_cast<qsizetype>(log.folder.size()));
    if (variable.isEmpty()) {
        return QDir::homePath() + u'/' + folder;
    }
    return log.homeVariable ? variable + u'/' + folder : variable;
}

} // namespace

std::vector<WatchedRoot> watchedRoots(const QString& projectsDirectory) {
    std::vector<WatchedRoot> roots{{Assistant::Claude, encoded(projectsDirectory), {}}};
    for (const AssistantLog& log : assistantLogs) {
        roots.push_back({log.assistant, encoded(folderOf(log)), std::string(log.pattern)});
    }
    return roots;
}
