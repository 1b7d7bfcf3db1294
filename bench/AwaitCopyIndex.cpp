#include "AwaitCopyIndex.h"

#include "watcher/FileWatcher.h"

#include <QEventLoop>

void awaitCopyIndex(FileWatcher& watcher) {
    QEventLoop loop;
    QObject::connect(&watcher, &FileWatcher::copyIndexReady, &loop, &QEventLoop::quit);
    if (watcher.isIndexingCopies()) {
        loop.exec();
    }
}
