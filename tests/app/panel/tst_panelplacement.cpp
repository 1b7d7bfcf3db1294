#include "app/panel/PanelPlacement.h"

#include <QTest>

namespace {
const QSize panel(280, 500);
// A 1920x1080 monitor with a 32 px bar on top.
const ScreenArea topBarScreen{QRect(0, 0, 1920, 1080), QRect(0, 32, 1920, 1048)};
// The same monitor with the bar at the bottom.
const ScreenArea bottomBarScreen{QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1048)};
const ScreenArea rightScreen{QRect(1920, 0, 1920, 1080), QRect(1920, 32, 1920, 1048)};
} // namespace

Q_DECLARE_METATYPE(ScreenArea)
using ScreenList = QList<ScreenArea>;

class TestPanelPlacement : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Centred under the anchor, 4 px below it, kept inside the available area of the anchor's
    // screen; above the anchor when there is no room below.
    void places_data() {
        QTest::addColumn<QRect>("anchor");
        QTest::addColumn<ScreenList>("screens");
        QTest::addColumn<QPoint>("position");
        QTest::newRow("centred under the icon")
            << QRect(900, 4, 24, 24) << ScreenList{topBarScreen} << QPoint(912 - 140, 28 + 4);
        QTest::newRow("clicked point in the top bar: below the bar")
            << QRect(1000, 16, 0, 0) << ScreenList{topBarScreen} << QPoint(860, 32);
        QTest::newRow("left edge") << QRect(40, 4, 24, 24) << ScreenList{topBarScreen} << QPoint(0, 32);
        QTest::newRow("right edge") << QRect(1880, 4, 24, 24) << ScreenList{topBarScreen}
                                    << QPoint(1920 - 280, 32);
        QTest::newRow("bottom bar opens above")
            << QRect(1700, 1052, 24, 24) << ScreenList{bottomBarScreen} << QPoint(1572, 1052 - 4 - 500);
        QTest::newRow("clicked point in the bottom bar: above the bar")
            << QRect(1700, 1064, 0, 0) << ScreenList{bottomBarScreen} << QPoint(1560, 1048 - 500);
        QTest::newRow("screen narrower and shorter than the panel: right and bottom edges win")
            << QRect(100, 4, 24, 24) << ScreenList{{QRect(0, 0, 200, 400), QRect(0, 30, 200, 370)}}
            << QPoint(200 - 280, 400 - 500);
        QTest::newRow("second screen: its left edge, not the first screen's")
            << QRect(1930, 4, 24, 24) << ScreenList{topBarScreen, rightScreen} << QPoint(1920, 32);
        QTest::newRow("screen below another: below while it fits that screen's area")
            << QRect(948, 1580, 24, 24)
            << ScreenList{topBarScreen, {QRect(0, 1080, 1920, 1080), QRect(0, 1080, 1920, 1080)}}
            << QPoint(820, 1608);
        QTest::newRow("anchor on no screen uses the first")
            << QRect(5000, 4, 24, 24) << ScreenList{topBarScreen} << QPoint(1920 - 280, 32);
        QTest::newRow("no screens: unclamped")
            << QRect(10, 4, 24, 24) << ScreenList{} << QPoint(22 - 140, 32);
    }

    void places() {
        QFETCH(QRect, anchor);
        QFETCH(ScreenList, screens);
        QTEST(placePanel(anchor, panel, screens), "position");
    }

    // Wherever it lands, the panel never covers the icon it was opened from.
    void neverCoversTheAnchor() {
        const ScreenArea screen{QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1080)};
        for (const int y : {0, 552, 553, 1056}) {
            const QRect icon(960, y, 24, 24);
            const QRect placed(placePanel(icon, panel, {screen}), panel);
            QVERIFY2(!placed.intersects(icon), qPrintable(QStringLiteral("icon at y %1").arg(y)));
            QVERIFY(screen.available.contains(placed));
            QCOMPARE(placed.y() > y, y <= 552); // below for as long as it fits there
        }
    }
};

QTEST_APPLESS_MAIN(TestPanelPlacement)
#include "tst_panelplacement.moc"
