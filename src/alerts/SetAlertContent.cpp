#include "alerts/SetAlertContent.h"

SetAlertContent SetAlertContent::compose(qint64 pendingSets, qint64 totalPrompts, qint64 reps,
                                         const QString& exerciseType) {
    return {
        QStringLiteral("Time for ") + QString::number(reps) + QLatin1Char(' ') + exerciseType,
        QStringLiteral("You've sent ") + QString::number(totalPrompts) + QStringLiteral(" prompts. ") +
            QString::number(pendingSets) + QStringLiteral(" set(s) owed."),
    };
}
