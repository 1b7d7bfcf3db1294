#include "ui/settings/WatchedDirectoryList.h"

#include "ui/settings/WatchedDirectoryLine.h"

#include <QVBoxLayout>

WatchedDirectoryList::WatchedDirectoryList(QWidget* parent)
    : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
}

void WatchedDirectoryList::setDirectories(const QList<WatchedDirectory>& directories) {
    if (directories == m_directories) {
        return;
    }
    m_directories = directories;
    qDeleteAll(findChildren<WatchedDirectoryLine*>(Qt::FindDirectChildrenOnly));
    for (const WatchedDirectory& directory : directories) {
        auto* line = new WatchedDirectoryLine(this);
        line->setObjectName(QStringLiteral("watchedDirectory"));
        line->setDirectory(directory.assistant, directory.path);
        layout()->addWidget(line);
    }
}
