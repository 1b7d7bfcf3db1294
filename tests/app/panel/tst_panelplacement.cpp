#include "panel/PanelPlacement.h"

#include <QTest>

namespace {
const QSize panel(280, 500);
// A 1920x1080 monitor with a 32 px bar on top.
const ScreenArea topBarScreen{QRect(0, 0, 1920, 1080), QRect(0, 32, 1920, 1048)};
// The same monitor with the bar at the bottom.
const ScreenArea bottomBarScreen{QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1048)};
} // namespace

Q_DECLARE_METATYPE(ScreenArea)
using ScreenList = QList<ScreenArea>;

class TestPanelPlacement : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void places_data() {
        QTest::addColumn<QRect>("anchor");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<ScreenList>("screens");
        QTest::addColumn<QPoint>("position");

        QTest::newRow("centred under the icon")
            << QRect(900, 4, 24, 24) << panel << ScreenList{topBarScreen} << QPoint(912 - 140, 28 + 4);
        QTest::newRow("clicked point under a top bar")
            << QRect(1000, 16, 0, 0) << panel << ScreenList{topBarScreen} << QPoint(860, 32);
        QTest::newRow("near the left edge sticks to it")
            << QRect(40, 4, 24, 24) << panel << ScreenList{topBarScreen} << QPoint(0, 32);
        QTest::newRow("exactly at the left edge")
            << QRect(128, 4, 24, 24) << panel << ScreenList{topBarScreen} << QPoint(0, 32);
        QTest::newRow("near the right edge sticks to it")
            << QRect(1880, 4, 24, 24) << panel << ScreenList{topBarScreen} << QPoint(1920 - 280, 32);
        QTest::newRow("screen narrower than the panel: right edge wins")
            << QRect(100, 4, 24, 24) << panel << ScreenList{{QRect(0, 0, 200, 800), QRect(0, 32, 200, 768)}}
            << QPoint(200 - 280, 32);
        QTest::newRow("bottom bar opens above")
            << QRect(1700, 1052, 24, 24) << panel << ScreenList{bottomBarScreen}
            << QPoint(1572, 1052 - 4 - 500);
        QTest::newRow("clicked point in a bottom bar: above the bar, not over it")
            << QRect(1700, 1064, 0, 0) << panel << ScreenList{bottomBarScreen} << QPoint(1560, 1048 - 500);
        QTest::newRow("top bar, gap of 4 below the icon")
            << QRect(600, 40, 24, 24) << panel << ScreenList{topBarScreen} << QPoint(472, 68);
        QTest::newRow("screen shorter than the panel: bottom edge wins")
            << QRect(600, 4, 24, 24) << panel << ScreenList{{QRect(0, 0, 1280, 400), QRect(0, 30, 1280, 370)}}
            << QPoint(472, 400 - 500);
        QTest::newRow("second screen to the right")
            << QRect(3800, 4, 24, 24) << panel
            << ScreenList{topBarScreen, {QRect(1920, 0, 1920, 1080), QRect(1920, 32, 1920, 1048)}}
            << QPoint(3840 - 280, 32);
        QTest::newRow("second screen: its left edge, not the first screen's")
            << QRect(1930, 4, 24, 24) << panel
            << ScreenList{topBarScreen, {QRect(1920, 0, 1920, 1080), QRect(1920, 32, 1920, 1048)}}
            << QPoint(1920, 32);
        QTest::newRow("taller second screen below a bottom bar")
            << QRect(2500, 1400, 24, 24) << panel
            << ScreenList{topBarScreen, {QRect(1920, 0, 1280, 1440), QRect(1920, 0, 1280, 1390)}}
            << QPoint(2512 - 140, 1390 - 500);
        QTest::newRow("anchor on no screen uses the primary")
            << QRect(5000, 4, 24, 24) << panel << ScreenList{topBarScreen} << QPoint(1920 - 280, 32);
        QTest::newRow("no screens: unclamped")
            << QRect(10, 4, 24, 24) << panel << ScreenList{} << QPoint(22 - 140, 32);
    }

    void places() {
        QFETCH(QRect, anchor);
        QFETCH(QSize, size);
        QFETCH(ScreenList, screens);
        QFETCH(QPoint, position);
        QCOMPARE(placePanel(anchor, size, screens), position);
    }

    // Wherever it lands, the panel never covers the icon it was opened from.
    void neverCoversTheAnchor_data() {
        QTest::addColumn<int>("iconY");
        for (int y : {0, 8, 300, 540, 700, 1048, 1056})
            QTest::addRow("icon at y %d", y) << y;
    }

    void neverCoversTheAnchor() {
        QFETCH(int, iconY);
        const QRect icon(960, iconY, 24, 24);
        const ScreenArea screen{QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1080)};
        const QRect placed(placePanel(icon, panel, {screen}), panel);
        QVERIFY2(!placed.intersects(icon), qPrintable(QStringLiteral("panel at y %1").arg(placed.y())));
        QVERIFY(screen.available.contains(placed));
    }
};

QTEST_APPLESS_MAIN(TestPanelPlacement)
#include "tst_panelplacement.moc"
