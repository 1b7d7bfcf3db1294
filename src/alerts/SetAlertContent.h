#pragma once

#include <QString>

// The words of one set alert, whatever service ends up showing them.
struct SetAlertContent {
    QString title;
    QString body;

    static SetAlertContent compose(qint64 pendingSets, qint64 totalPrompts, qint64 reps,
                                   const QString& exerciseType);
};
