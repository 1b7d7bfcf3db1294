#include "app/tray/TrayIconImage.h"

#include "ui/kit/Palette.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRawFont>

namespace {
const QColor darkColour(20, 24, 36);
const QColor trackColour(90, 96, 110);
const QColor badgeColour(255, 69, 69); // alertRed of the panel

// The glyph's dumbbell, slanted the same way, drawn in a box of 24 units.
QPainterPath drawnDumbbell() {
    QPainterPath path;
    path.addRect(QRectF(3, 11, 18, 2));
    for (qreal x : {5.0, 16.5}) {
        path.addRoundedRect(QRectF(x, 5, 2.5, 14), 0.75, 0.75);
    }
    for (qreal x : {2.0, 20.0}) {
        path.addRoundedRect(QRectF(x, 8, 2, 8), 0.75, 0.75);
    }
    QTransform slant;
    slant.translate(12, 12).rotate(45).translate(-12, -12);
    return slant.map(path).simplified();
}

// The glyph sits at a private-use code point: a font that Qt substitutes for a missing one may
// hold any symbol there, or none, so only the font asked for is trusted with it.
QPainterPath figurePath(const QFont& figureFont) {
    const QChar glyph(Glyphs::exerciseFigure);
    QPainterPath path;
    if (QRawFont::fromFont(figureFont).supportsCharacter(glyph)) {
        path.addText(0, 0, figureFont, glyph);
    }
    return path.isEmpty() ? drawnDumbbell() : path;
}

// How far the figure reaches from its middle, control points of its curves included.
qreal reach(const QPainterPath& figure) {
    const QPointF middle = figure.boundingRect().center();
    qreal farthest = 0;
    for (int i = 0; i < figure.elementCount(); ++i) {
        farthest = qMax(farthest, QLineF(middle, figure.elementAt(i)).length());
    }
    return farthest;
}

// Draws the figure `scale` times its own size with its middle at `centre`.
void drawFigure(QPainter& painter, const QPainterPath& figure, const QPointF& centre, qreal scale) {
    painter.save();
    painter.translate(centre);
    painter.scale(scale, scale);
    painter.translate(-figure.boundingRect().center());
    painter.fillPath(figure, Qt::white);
    painter.restore();
}

// A dark disc with the set's progress as a ring along its edge, clockwise from the top, over a
// grey track that shows where the set ends. The disc gives the contrast on light bars and the
// ring on dark ones, so the figure inside needs no outline of its own; it stays inside the ring
// so that no part of the progress is hidden.
void drawRingedFigure(QPainter& painter, const QPainterPath& figure, int size, qreal progress) {
    const qreal ring = qMax(2.0, size / 9.0);
    const qreal rim = qMax(0.5, size / 32.0);
    const qreal radius = size / 2.0 - rim - ring / 2; // of the ring's centre line
    const QPointF centre(size / 2.0, size / 2.0);
    const auto square = [&centre](qreal half) {
        return QRectF(centre - QPointF(half, half), QSizeF(2 * half, 2 * half));
    };
    painter.setPen(Qt::NoPen);
    painter.setBrush(darkColour);
    painter.drawEllipse(square(size / 2.0));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(trackColour, ring));
    painter.drawEllipse(square(radius));
    const int span = qRound(qBound(0.0, progress, 1.0) * 360 * 16);
    if (span > 0) {
        painter.setPen(QPen(Palette::accentCyan, ring, Qt::SolidLine, Qt::FlatCap));
        painter.drawArc(square(radius), 90 * 16, -span);
    }
    drawFigure(painter, figure, centre, (radius - ring / 2) / reach(figure));
}

QString badgeText(qint64 pendingSets) {
    return pendingSets > 9 ? QStringLiteral("9+") : QString::number(pendingSets);
}

void drawBadge(QPainter& painter, int size, qint64 pendingSets) {
    const qreal diameter = size * 0.58;
    const QRectF badge(size - diameter, size - diameter, diameter, diameter);
    painter.setPen(QPen(darkColour, qMax(1.0, size / 24.0)));
    painter.setBrush(badgeColour);
    painter.drawEllipse(badge.adjusted(0.5, 0.5, -0.5, -0.5));
    const QString text = badgeText(pendingSets);
    QFont font;
    font.setBold(true);
    font.setPixelSize(qMax(6, qRound(diameter * (text.size() > 1 ? 0.55 : 0.75))));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(badge, Qt::AlignCenter, text);
}

QImage drawIcon(int pixelSize, qint64 pendingSets, qreal setProgress, const QPainterPath& figure) {
    QImage image(pixelSize, pixelSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawRingedFigure(painter, figure, pixelSize, setProgress);
    if (pendingSets >= 1) {
        drawBadge(painter, pixelSize, pendingSets);
    }
    return image;
}
} // namespace

QImage trayIconImage(int pixelSize, qint64 pendingSets, qreal setProgress, const QFont& figureFont) {
    return drawIcon(pixelSize, pendingSets, setProgress, figurePath(figureFont));
}

QList<QImage> trayIconImages(qint64 pendingSets, qreal setProgress, const QFont& figureFont) {
    const QPainterPath figure = figurePath(figureFont);
    QList<QImage> images;
    for (int size : trayIconSizes) {
        images.append(drawIcon(size, pendingSets, setProgress, figure));
    }
    return images;
}

QIcon iconFromImages(const QList<QImage>& images) {
    QIcon icon;
    for (const QImage& image : images) {
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}
