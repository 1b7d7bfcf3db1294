#pragma once

#include "ui/kit/Glyphs.h"

#include <QFont>
#include <QIcon>
#include <QImage>
#include <QList>

// The tray icon: the exercise figure in white on a dark disc, so it reads on light and dark bars
// alike, with how far the current set has come (`setProgress`, 0 to 1) as a ring along the
// disc's edge and the owed sets as a red badge. Every host gets the ring, also those that show
// the title beside the icon and those that show none. `figureFont` is the icon font holding the
// exercise glyph, at any size; where it is missing a drawn dumbbell stands in, so the icon is
// never blank.
inline const QList<int> trayIconSizes = {16, 22, 24, 32, 48};

QImage trayIconImage(int pixelSize, qint64 pendingSets, qreal setProgress,
                     const QFont& figureFont = Glyphs::font(trayIconSizes.last()));
// One per size in trayIconSizes.
QList<QImage> trayIconImages(qint64 pendingSets, qreal setProgress,
                             const QFont& figureFont = Glyphs::font(trayIconSizes.last()));
QIcon iconFromImages(const QList<QImage>& images);
