#pragma once

#include <QIcon>
#include <QImage>
#include <QList>

// The tray icon: the exercise glyph in white with a dark outline, so it reads on light and
// dark bars alike, and the owed sets as a red badge for hosts that show no text beside icons.
inline const QList<int> trayIconSizes = {16, 22, 24, 32, 48};

QImage trayIconImage(int pixelSize, qint64 pendingSets);
QList<QImage> trayIconImages(qint64 pendingSets); // one per size in trayIconSizes
QIcon iconFromImages(const QList<QImage>& images);
