#pragma once

#include <QString>
#include <QVariantMap>

// Every key of a preferences file as it is on disk now. The file is copied to `copyPath` first,
// a path QSettings has never seen in this process, so nothing comes from its in-process cache.
QVariantMap storeSnapshot(const QString& storePath, const QString& copyPath);
