#pragma once

#include <QString>

// The short text beside the tray icon: the owed sets when there are any, otherwise the
// progress through the current set ("3/10").
QString statusTitle(qint64 pendingSets, qint64 promptsThisSet, qint64 promptLimit);
