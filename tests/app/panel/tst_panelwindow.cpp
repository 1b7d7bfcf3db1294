#include "app/panel/PanelWindow.h"

#include <QLabel>
#include <QTest>

// Where the panel opens is tested through the tray item's clicks; here, its shape and its toggle.
class TestPanelWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cornersAreRounded() {
        PanelWindow panel(new QLabel(QStringLiteral("content")), QSize(280, 500));
        panel.showPanel(QRect(400, 10, 24, 24));
        QVERIFY(!panel.mask().contains(QPoint(0, 0)));
        QVERIFY(!panel.mask().contains(QPoint(279, 499)));
        QVERIFY(panel.mask().contains(QPoint(140, 0)));
        QVERIFY(panel.mask().contains(QPoint(PanelWindow::cornerRadius, PanelWindow::cornerRadius)));
    }

    // Closing by an outside click and the toggle from that same click arrive together: the toggle
    // must not open the panel again at once. Opening by other means is not held back.
    void togglesAndIgnoresTheClickThatClosedIt() {
        PanelWindow panel(new QLabel(QStringLiteral("content")), QSize(280, 500));
        const QRect icon(400, 10, 24, 24);
        panel.togglePanel(icon);
        QVERIFY(panel.isVisible());
        panel.togglePanel(icon);
        QVERIFY(!panel.isVisible());
        panel.showPanel(icon);
        QVERIFY(panel.isVisible());
        panel.hide();
        panel.togglePanel(icon);
        QVERIFY(!panel.isVisible());
        QVERIFY(QTest::qWaitFor([&panel, &icon] {
            panel.togglePanel(icon);
            return panel.isVisible();
        }));
    }
};

QTEST_MAIN(TestPanelWindow)
#include "tst_panelwindow.moc"
