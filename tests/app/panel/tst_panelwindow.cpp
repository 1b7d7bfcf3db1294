#include "panel/PanelPlacement.h"
#include "panel/PanelWindow.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

namespace {
QList<ScreenArea> currentScreens() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return {{screen->geometry(), screen->availableGeometry()}};
}
} // namespace

class TestPanelWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void isAFramelessPopupOfTheGivenSize() {
        PanelWindow panel(new QLabel(QStringLiteral("content")), QSize(280, 500));
        QVERIFY(panel.windowFlags().testFlag(Qt::Popup));
        QVERIFY(panel.windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(panel.size(), QSize(280, 500));
        QVERIFY(!panel.isVisible());
    }

    void cornersAreRounded() {
        PanelWindow panel(new QLabel(QStringLiteral("content")), QSize(280, 500));
        panel.showPanel(QRect(400, 10, 24, 24));
        const QRegion mask = panel.mask();
        QVERIFY(!mask.contains(QPoint(0, 0)));
        QVERIFY(!mask.contains(QPoint(279, 499)));
        QVERIFY(!mask.contains(QPoint(1, 498)));
        QVERIFY(mask.contains(QPoint(140, 0)));
        QVERIFY(mask.contains(QPoint(0, 250)));
        QVERIFY(mask.contains(QPoint(PanelWindow::cornerRadius, PanelWindow::cornerRadius)));
    }

    void showsWhereTheAnchorSays_data() {
        QTest::addColumn<QRect>("anchor");
        QTest::newRow("icon rectangle") << QRect(400, 10, 24, 24);
        QTest::newRow("clicked point") << QRect(100, 20, 0, 0);
        QTest::newRow("near the bottom") << QRect(300, 590, 0, 0);
    }

    void showsWhereTheAnchorSays() {
        QFETCH(QRect, anchor);
        PanelWindow panel(new QLabel(QStringLiteral("content")), QSize(280, 500));
        QSignalSpy shown(&panel, &PanelWindow::panelShown);
        panel.showPanel(anchor);
        QVERIFY(panel.isVisible());
        QCOMPARE(shown.count(), 1);
        QCOMPARE(panel.pos(), placePanel(anchor, panel.size(), currentScreens()));
    }

    void withoutAnAnchorOpensAtThePointer() {
        PanelWindow panel(new QLabel(QStringLiteral("content")), QSize(280, 500));
        QCursor::setPos(QPoint(200, 150));
        panel.showPanel(std::nullopt);
        QCOMPARE(panel.pos(), placePanel(QRect(QCursor::pos(), QSize(0, 0)), panel.size(), currentScreens()));
    }

    void togglesAndIgnoresTheClickThatClosedIt() {
        PanelWindow panel(new QLabel(QStringLiteral("content")), QSize(280, 500));
        const QRect icon(400, 10, 24, 24);
        panel.togglePanel(icon);
        QVERIFY(panel.isVisible());
        panel.togglePanel(icon);
        QVERIFY(!panel.isVisible());
        // Closing by an outside click and the toggle from that same click arrive together.
        panel.showPanel(icon);
        panel.hide();
        panel.togglePanel(icon);
        QVERIFY(!panel.isVisible());
        // A later click opens it again.
        QVERIFY(QTest::qWaitFor([&panel, &icon] {
            panel.togglePanel(icon);
            return panel.isVisible();
        }));
    }

    void showPanelIgnoresTheGuard() {
        PanelWindow panel(new QLabel(QStringLiteral("content")), QSize(280, 500));
        panel.showPanel(std::nullopt);
        panel.hide();
        panel.showPanel(std::nullopt);
        QVERIFY(panel.isVisible());
    }
};

QTEST_MAIN(TestPanelWindow)
#include "tst_panelwindow.moc"
