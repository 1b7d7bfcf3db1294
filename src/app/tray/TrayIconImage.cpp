#include "tray/TrayIconImage.h"

#include "kit/Glyphs.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {
const QColor outlineColour(20, 24, 36);
const QColor badgeColour(255, 69, 69); // alertRed of the panel

QPainterPath glyphPath(int pixelSize) {
    QPainterPath path;
    path.addText(0, 0, Glyphs::font(pixelSize), Glyphs::text(Glyphs::exerciseFigure));
    return path;
}

// The outline is stroked first and the body filled over it, so only its outer half shows and
// the thin bar of the glyph keeps its white.
void drawGlyph(QPainter& painter, int size) {
    const qreal outline = qMax(1.0, size / 16.0);
    const QPainterPath path = glyphPath(size);
    const QRectF bounds = path.boundingRect();
    const qreal scale = (size - 2 * outline) / qMax(bounds.width(), bounds.height());
    painter.translate(size / 2.0, size / 2.0);
    painter.scale(scale, scale);
    painter.translate(-bounds.center());
    painter.strokePath(path,
                       QPen(outlineColour, 2 * outline / scale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.fillPath(path, Qt::white);
    painter.resetTransform();
}

QString badgeText(qint64 pendingSets) {
    return pendingSets > 9 ? QStringLiteral("9+") : QString::number(pendingSets);
}

void drawBadge(QPainter& painter, int size, qint64 pendingSets) {
    const qreal diameter = size * 0.58;
    const QRectF badge(size - diameter, size - diameter, diameter, diameter);
    painter.setPen(QPen(outlineColour, qMax(1.0, size / 24.0)));
    painter.setBrush(badgeColour);
    painter.drawEllipse(badge.adjusted(0.5, 0.5, -0.5, -0.5));
    QFont font;
    font.setBold(true);
    font.setPixelSize(qMax(6, qRound(diameter * (pendingSets > 9 ? 0.55 : 0.75))));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(badge, Qt::AlignCenter, badgeText(pendingSets));
}
} // namespace

QImage trayIconImage(int pixelSize, qint64 pendingSets) {
    QImage image(pixelSize, pixelSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawGlyph(painter, pixelSize);
    if (pendingSets >= 1)
        drawBadge(painter, pixelSize, pendingSets);
    return image;
}

QList<QImage> trayIconImages(qint64 pendingSets) {
    QList<QImage> images;
    for (int size : trayIconSizes)
        images.append(trayIconImage(size, pendingSets));
    return images;
}

QIcon iconFromImages(const QList<QImage>& images) {
    QIcon icon;
    for (const QImage& image : images)
        icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}
