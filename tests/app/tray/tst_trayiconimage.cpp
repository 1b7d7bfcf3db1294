#include "tray/StatusNotifierTypes.h"
#include "tray/TrayIconImage.h"

#include <QTest>

namespace {
struct PixelCensus {
    int white = 0;
    int dark = 0;
    int red = 0;
};

PixelCensus census(const QImage& image) {
    PixelCensus counts;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const QColor colour = argb.pixelColor(x, y);
            if (colour.alpha() < 200)
                continue;
            if (colour.red() > 230 && colour.green() > 230 && colour.blue() > 230)
                ++counts.white;
            else if (colour.red() < 60 && colour.green() < 60 && colour.blue() < 80)
                ++counts.dark;
            else if (colour.red() > 200 && colour.green() < 120 && colour.blue() < 120)
                ++counts.red;
        }
    }
    return counts;
}
} // namespace

class TestTrayIconImage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void drawsTheGlyphOutlined_data() {
        QTest::addColumn<int>("size");
        for (int size : trayIconSizes)
            QTest::addRow("%d px", size) << size;
    }

    // White body for dark bars, dark outline for light ones, and no badge while nothing is owed.
    void drawsTheGlyphOutlined() {
        QFETCH(int, size);
        const QImage image = trayIconImage(size, 0);
        QCOMPARE(image.size(), QSize(size, size));
        const PixelCensus counts = census(image);
        QVERIFY2(counts.white >= size / 4, qPrintable(QString::number(counts.white)));
        QVERIFY2(counts.dark >= size / 4, qPrintable(QString::number(counts.dark)));
        QCOMPARE(counts.red, 0);
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
    }

    void badgesOwedSets_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<qint64>("pending");
        for (int size : trayIconSizes) {
            QTest::addRow("%d px, one owed", size) << size << qint64(1);
            QTest::addRow("%d px, twelve owed", size) << size << qint64(12);
        }
    }

    void badgesOwedSets() {
        QFETCH(int, size);
        QFETCH(qint64, pending);
        const QImage plain = trayIconImage(size, 0);
        const QImage badged = trayIconImage(size, pending);
        QVERIFY(census(badged).red >= size * size / 20);
        // The badge sits in the lower right corner; the upper left quarter is untouched.
        const QRect upperLeft(0, 0, size / 3, size / 3);
        QCOMPARE(badged.copy(upperLeft), plain.copy(upperLeft));
        QVERIFY(badged.copy(QRect(size / 2, size / 2, size / 2, size / 2)) !=
                plain.copy(QRect(size / 2, size / 2, size / 2, size / 2)));
    }

    void badgeTextDiffersByCount() {
        QVERIFY(trayIconImage(32, 1) != trayIconImage(32, 2));
        QCOMPARE(trayIconImage(32, 12), trayIconImage(32, 40)); // both "9+"
    }

    void iconOffersEverySize() {
        const QIcon icon = iconFromImages(trayIconImages(0));
        QList<QSize> sizes = icon.availableSizes();
        std::sort(sizes.begin(), sizes.end(), [](QSize a, QSize b) { return a.width() < b.width(); });
        QList<QSize> expected;
        for (int size : trayIconSizes)
            expected.append(QSize(size, size));
        QCOMPARE(sizes, expected);
    }

    // Hosts read (iiay) pixmaps as ARGB32 in network byte order, whatever the machine's order.
    void statusNotifierPixmapIsBigEndianArgb() {
        QImage image(2, 1, QImage::Format_ARGB32);
        image.setPixelColor(0, 0, QColor(0x11, 0x22, 0x33, 0xff));
        image.setPixelColor(1, 0, QColor(0xaa, 0xbb, 0xcc, 0x80));
        const SniIconPixmap pixmap = SniIconPixmap::fromImage(image);
        QCOMPARE(pixmap.width, 2);
        QCOMPARE(pixmap.height, 1);
        QCOMPARE(pixmap.argbBigEndian, QByteArray::fromHex("ff112233"
                                                           "80aabbcc"));
        QCOMPARE(pixmap.toImage(), image);
    }

    void statusNotifierPixmapRoundTrips() {
        const QImage image = trayIconImage(22, 3).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(SniIconPixmap::fromImage(image).toImage(), image);
    }
};

QTEST_MAIN(TestTrayIconImage)
#include "tst_trayiconimage.moc"
