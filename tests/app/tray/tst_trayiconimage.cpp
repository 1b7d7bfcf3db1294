#include "app/tray/StatusNotifierTypes.h"
#include "app/tray/TrayIconImage.h"
#include "ui/kit/Glyphs.h"

#include <QTest>
#include <QtMath>

namespace {
bool isCyan(const QColor& colour) {
    return colour.alpha() > 200 && colour.red() < 120 && colour.green() > 170 && colour.blue() > 220;
}

struct PixelCensus {
    int white = 0;
    int dark = 0;
    int red = 0;
    int cyan = 0;
};

// The colour classes are disjoint, and every one of them is opaque.
PixelCensus census(const QImage& image) {
    PixelCensus counts;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const QColor c = argb.pixelColor(x, y);
            const bool opaque = c.alpha() >= 200;
            counts.white += opaque && c.red() > 230 && c.green() > 230 && c.blue() > 230;
            counts.dark += opaque && c.red() < 60 && c.green() < 60 && c.blue() < 80;
            counts.red += opaque && c.red() > 200 && c.green() < 120 && c.blue() < 120;
            counts.cyan += isCyan(c);
        }
    }
    return counts;
}

// Pixels that differ clearly, so that the same figure drawn through another font does not count.
int clearlyDifferingPixels(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y);
            const QColor q = b.pixelColor(x, y);
            if (qAbs(p.alpha() - q.alpha()) > 64 || qAbs(p.lightness() - q.lightness()) > 64) {
                ++count;
            }
        }
    }
    return count;
}
} // namespace

class TestTrayIconImage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void drawsTheFigure_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<QFont>("figureFont");
        QTest::addColumn<bool>("drawnFigure");
        for (int size : trayIconSizes) {
            QTest::addRow("%d px, icon font", size) << size << Glyphs::font(32) << false;
            QTest::addRow("%d px, icon font missing", size)
                << size << QFont(QStringLiteral("No Such Icon Font")) << true;
        }
    }

    // A white figure for dark bars on a dark disc for light ones; no badge while nothing is owed
    // and no progress at the start of a set. Without the icon font a drawn figure stands in: Qt's
    // substitute font must not be trusted with the glyph's code point.
    void drawsTheFigure() {
        QFETCH(int, size);
        QFETCH(QFont, figureFont);
        QFETCH(bool, drawnFigure);
        const QImage image = trayIconImage(size, 0, 0, figureFont);
        QCOMPARE(image.size(), QSize(size, size));
        const PixelCensus counts = census(image);
        QVERIFY2(counts.white >= size / 4, qPrintable(QString::number(counts.white)));
        QVERIFY2(counts.dark >= size / 4, qPrintable(QString::number(counts.dark)));
        QCOMPARE(counts.red, 0);
        QCOMPARE(counts.cyan, 0);
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
        if (drawnFigure) {
            const int differing = clearlyDifferingPixels(image, trayIconImage(size, 0, 0));
            QVERIFY2(differing >= size * size / 12, qPrintable(QString::number(differing)));
        }
    }

    void ringShowsTheSetProgress_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<qreal>("progress");
        QTest::addColumn<QList<bool>>("filled"); // at 45, 135, 225 and 315 degrees from the top
        for (int size : {16, 32}) {
            QTest::addRow("%d px, none", size) << size << 0.0 << QList<bool>{false, false, false, false};
            QTest::addRow("%d px, half", size) << size << 0.5 << QList<bool>{true, true, false, false};
            QTest::addRow("%d px, full", size) << size << 1.0 << QList<bool>{true, true, true, true};
        }
    }

    // Clockwise from the top along the edge, over an opaque disc so it reads on any bar.
    void ringShowsTheSetProgress() {
        QFETCH(int, size);
        QFETCH(qreal, progress);
        QFETCH(QList<bool>, filled);
        const QImage image = trayIconImage(size, 0, progress).convertToFormat(QImage::Format_ARGB32);
        for (int i = 0; i < filled.size(); ++i) {
            const qreal angle = qDegreesToRadians(45.0 + 90.0 * i);
            const QPoint onRing(qFloor(size / 2.0 + 0.4 * size * qSin(angle)),
                                qFloor(size / 2.0 - 0.4 * size * qCos(angle)));
            const QColor colour = image.pixelColor(onRing);
            QVERIFY2(isCyan(colour) == filled.at(i), qPrintable(colour.name(QColor::HexArgb)));
            QCOMPARE(colour.alpha(), 255);
        }
    }

    // One owed and past nine ("9+"), at the smallest size where the badge is most cramped.
    void badgesOwedSets() {
        const int size = trayIconSizes.constFirst();
        const QImage plain = trayIconImage(size, 0, 0);
        for (const qint64 pending : {1, 12}) {
            const QImage badged = trayIconImage(size, pending, 0);
            QVERIFY(census(badged).red >= size * size / 20);
            // The badge sits in the lower right corner; the upper left quarter is untouched.
            const QRect upperLeft(0, 0, size / 3, size / 3);
            QCOMPARE(badged.copy(upperLeft), plain.copy(upperLeft));
            const QRect lowerRight(size / 2, size / 2, size / 2, size / 2);
            QVERIFY(badged.copy(lowerRight) != plain.copy(lowerRight));
        }
        QVERIFY(trayIconImage(32, 1, 0) != trayIconImage(32, 2, 0));
        QVERIFY(trayIconImage(32, 9, 0) != trayIconImage(32, 10, 0));
        QCOMPARE(trayIconImage(32, 10, 0), trayIconImage(32, 40, 0)); // both "9+"
    }

    // Hosts read (iiay) pixmaps as ARGB32 in network byte order, whatever the machine's order.
    void statusNotifierPixmapIsBigEndianArgb() {
        QImage image(2, 1, QImage::Format_ARGB32);
        image.setPixelColor(0, 0, QColor(0x11, 0x22, 0x33, 0xff));
        image.setPixelColor(1, 0, QColor(0xaa, 0xbb, 0xcc, 0x80));
        const SniIconPixmap pixmap = SniIconPixmap::fromImage(image);
        QCOMPARE(QSize(pixmap.width, pixmap.height), QSize(2, 1));
        QCOMPARE(pixmap.argbBigEndian, QByteArray::fromHex("ff112233"
                                                           "80aabbcc"));
        QCOMPARE(pixmap.toImage(), image);
    }
};

QTEST_MAIN(TestTrayIconImage)
#include "tst_trayiconimage.moc"
