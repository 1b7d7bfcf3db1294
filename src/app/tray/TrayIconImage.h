#pragma once

#include "kit/Glyphs.h"

#include <QFont>
#include <QIcon>
#include <QImage>
#include <QList>
#include <optional>

// The tray icon: the exercise figure in white, set off by dark so it reads on light and dark
// bars alike, and the owed sets as a red badge for hosts that show no text beside icons.
// `setProgress` (0 to 1), for trays that cannot show the title at all, draws how far the
// current set has come as a ring around the figure. `figureFont` is the icon font holding the
// exercise glyph, at any size; where it is missing a drawn dumbbell stands in, so the icon is
// never blank.
inline const QList<int> trayIconSizes = {16, 22, 24, 32, 48};

QImage trayIconImage(int pixelSize, qint64 pendingSets, std::optional<qreal> setProgress = std::nullopt,
                     const QFont& figureFont = Glyphs::font(trayIconSizes.last()));
// One per size in trayIconSizes.
QList<QImage> trayIconImages(qint64 pendingSets, std::optional<qreal> setProgress = std::nullopt,
                             const QFont& figureFont = Glyphs::font(trayIconSizes.last()));
QIcon iconFromImages(const QList<QImage>& images);
