#include "StoreSnapshot.h"

#include <QFile>
#include <QSettings>

QVariantMap storeSnapshot(const QString& storePath, const QString& copyPath) {
    if (!QFile::copy(storePath, copyPath))
        return {};
    const QSettings settings(copyPath, QSettings::IniFormat);
    QVariantMap values;
    const QStringList keys = settings.allKeys();
    for (const QString& key : keys)
        values.insert(key, settings.value(key));
    return values;
}
