#include "ui/kit/Glyphs.h"

#include <QFontDatabase>
#include <QStringList>

namespace Glyphs {
namespace {
const QString& family() {
    static const QString name = [] {
        const int id = QFontDatabase::addApplicationFont(QStringLiteral(
            "/usr/share/fonts/truetype/material-design-icons-iconfont/MaterialIcons-Regular.ttf"));
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QStringLiteral("Material Icons") : families.first();
    }();
    return name;
}
} // namespace

QFont font(int pixelSize) {
    QFont glyphFont(family());
    glyphFont.setPixelSize(pixelSize);
    return glyphFont;
}
} // namespace Glyphs
