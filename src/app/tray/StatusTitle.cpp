#include "tray/StatusTitle.h"

QString statusTitle(qint64 pendingSets, qint64 promptsThisSet, qint64 promptLimit) {
    if (pendingSets >= 1) {
        return QStringLiteral(" %1").arg(pendingSets);
    }
    return QStringLiteral(" %1/%2").arg(promptsThisSet).arg(promptLimit);
}
