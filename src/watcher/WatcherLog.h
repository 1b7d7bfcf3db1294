#pragma once

#include <QLoggingCategory>

// Silent by default; QT_LOGGING_RULES="zentrel.watcher.info=true" shows each prompt counted or
// passed over as a copy, with the transcript it came from, and how long indexing took.
Q_DECLARE_LOGGING_CATEGORY(lcWatcher)
