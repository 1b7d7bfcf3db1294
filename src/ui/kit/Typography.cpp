#include "ui/kit/Typography.h"

#include <QFontDatabase>
#include <QStringList>

namespace Typography {
QFont system(int pixelSize, QFont::Weight weight, qreal tracking) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    if (tracking != 0) {
        font.setLetterSpacing(QFont::AbsoluteSpacing, tracking);
    }
    return font;
}

QFont rounded(int pixelSize, QFont::Weight weight) {
    static const QString roundedFamily = [] {
        const QStringList candidates{QStringLiteral("SF Pro Rounded"),    QStringLiteral("Nunito"),
                                     QStringLiteral("Varela Round"),      QStringLiteral("Comfortaa"),
                                     QStringLiteral("M PLUS Rounded 1c"), QStringLiteral("Quicksand")};
        const QStringList installed = QFontDatabase::families();
        for (const QString& family : candidates) {
            if (installed.contains(family)) {
                return family;
            }
        }
        return QString();
    }();
    QFont font = system(pixelSize, weight);
    if (!roundedFamily.isEmpty()) {
        font.setFamily(roundedFamily);
    }
    return font;
}
} // namespace Typography
