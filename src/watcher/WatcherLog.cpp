#include "watcher/WatcherLog.h"

Q_LOGGING_CATEGORY(lcWatcher, "zentrel.watcher", QtWarningMsg)
