#include "DelegateHarness.h"
#include "TrayDesktop.h"
#include "app/panel/PanelPlacement.h"
#include "app/panel/PanelWindow.h"
#include "app/tray/StatusItem.h"
#include "app/tray/XEmbedIconPlacement.h"

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>

namespace {
constexpr int desktopTimeoutMs = 15000;

// Real pointer events through the X server, as a person's clicks arrive. The server handles the
// move before the click; "--sync" would stall when the pointer is already there.
bool clickAt(const QPoint& point) {
    return QProcess::execute(QStringLiteral("xdotool"),
                             {QStringLiteral("mousemove"), QString::number(point.x()),
                              QString::number(point.y()), QStringLiteral("click"), QStringLiteral("1")}) == 0;
}

QList<ScreenArea> currentScreens() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return {{screen->geometry(), screen->availableGeometry()}};
}
} // namespace

// The classic XEmbed tray (no StatusNotifierWatcher on the bus), driven like a person would.
class TestTrayXEmbed : public QObject {
    Q_OBJECT

    std::unique_ptr<TrayDesktop> m_desktop;
    std::unique_ptr<DelegateHarness> m_harness;

    QRect iconGeometry() const { return m_harness->delegate().statusItem()->systemTrayIcon()->geometry(); }

    // True when the panel stays hidden for a while, as it must after a click that closed it.
    static bool staysHidden(const PanelWindow& panel) {
        return !QTest::qWaitFor([&panel] { return panel.isVisible(); },
                                2 * int(PanelWindow::reopenGuard.count()));
    }

private Q_SLOTS:
    void initTestCase() {
        if (const QString missing = TrayDesktop::missingTools(); !missing.isEmpty()) {
            QSKIP(qPrintable(QStringLiteral("not installed: ") + missing));
        }
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        m_desktop = std::make_unique<TrayDesktop>();
        QVERIFY(m_desktop->start());
        QTRY_VERIFY_WITH_TIMEOUT(QSystemTrayIcon::isSystemTrayAvailable(), desktopTimeoutMs);
        m_harness = std::make_unique<DelegateHarness>(QDBusConnection::sessionBus());
        m_harness->delegate().showPanel(); // as `zentrel show` does when it starts Zentrel
        QTRY_COMPARE_WITH_TIMEOUT(m_harness->delegate().statusItem()->host(), StatusItem::Host::SystemTray,
                                  desktopTimeoutMs);
        // Docked: trayer gave the icon its place along the top edge.
        QTRY_VERIFY_WITH_TIMEOUT(
            iconGeometry().isValid() && iconGeometry().y() < 24 && iconGeometry().x() > 0, desktopTimeoutMs);
    }

    void cleanupTestCase() {
        m_harness.reset();
        m_desktop.reset();
    }

    // Asked for before the tray had answered, the panel opens under the icon once the icon has its
    // place, and stays open.
    void showAtStartOpensUnderTheIcon() {
        PanelWindow& panel = *m_harness->delegate().panel();
        QTRY_VERIFY(panel.isVisible());
        QTRY_COMPARE(panel.pos(), placePanel(iconGeometry(), panel.size(), currentScreens()));
        QVERIFY(!QTest::qWaitFor([&panel] { return !panel.isVisible(); }, 1000));
        panel.hide();
        QVERIFY(staysHidden(panel));
    }

    // An icon that no tray has taken in sits at the origin: it is taken as placed only once the
    // patience has run out.
    void iconAtTheOriginIsWaitedFor() {
        const QSystemTrayIcon undocked;
        XEmbedIconPlacement placement(undocked);
        QSignalSpy placed(&placement, &XEmbedIconPlacement::placed);
        QVERIFY(!placed.wait(int(XEmbedIconPlacement::patience.count()) / 2));
        QVERIFY(placed.wait(int(XEmbedIconPlacement::patience.count())));
    }

    void clicksOpenAndCloseThePanel() {
        PanelWindow& panel = *m_harness->delegate().panel();
        const QRect icon = iconGeometry();
        QVERIFY(!panel.isVisible());

        QVERIFY(clickAt(icon.center()));
        QTRY_VERIFY(panel.isVisible());
        const QPoint placed = placePanel(icon, panel.size(), currentScreens());
        QTRY_COMPARE(panel.pos(), placed);

        QVERIFY(clickAt(icon.center())); // closes it, and the same click must not open it again
        QTRY_VERIFY(!panel.isVisible());
        QVERIFY(staysHidden(panel));

        QVERIFY(clickAt(icon.center()));
        QTRY_VERIFY(panel.isVisible());
        QCOMPARE(panel.pos(), placed);

        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QVERIFY(clickAt(QPoint(screen.left() + 10, screen.bottom() - 10))); // somewhere else entirely
        QTRY_VERIFY(!panel.isVisible());
        QVERIFY(staysHidden(panel));

        QVERIFY(clickAt(icon.center()));
        QTRY_VERIFY(panel.isVisible());
        QCOMPARE(panel.pos(), placed);

        QVERIFY(clickAt(panel.geometry().center() + QPoint(0, 150))); // inside: the content's business
        QVERIFY(!QTest::qWaitFor([&panel] { return !panel.isVisible(); },
                                 2 * int(PanelWindow::reopenGuard.count())));

        // Asked for by another start, with the pointer elsewhere, it opens where a click would.
        panel.hide();
        QVERIFY(staysHidden(panel));
        m_harness->delegate().showPanel();
        QVERIFY(panel.isVisible());
        QCOMPARE(panel.pos(), placed);
    }
};

QTEST_MAIN(TestTrayXEmbed)
#include "tst_trayxembed.moc"
