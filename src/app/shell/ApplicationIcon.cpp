#include "app/shell/ApplicationIcon.h"

#include "common/AppIdentity.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// Drawn from the same SVG file that is installed for the desktop, compiled in: an installed copy
// may be missing (a build run in place), and Qt's own SVG icon engine is a separate package.
QIcon applicationIcon() {
    QSvgRenderer renderer(QStringLiteral(":/icons/") + AppIdentity::applicationId + QStringLiteral(".svg"));
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
