#pragma once

#include <QLoggingCategory>

// Silent by default; QT_LOGGING_RULES="zentrel.watcher.info=true" shows each prompt counted and
// the transcript it came from.
Q_DECLARE_LOGGING_CATEGORY(lcWatcher)
