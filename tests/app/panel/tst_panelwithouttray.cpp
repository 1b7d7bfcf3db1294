#include "DelegateHarness.h"
#include "TrayDesktop.h"
#include "app/panel/PanelWindow.h"
#include "app/tray/StatusItem.h"

#include <QGuiApplication>
#include <QProcess>
#include <QSystemTrayIcon>
#include <QTest>

namespace {
constexpr int desktopTimeoutMs = 15000;

bool isOrdinaryWindow(const QWidget& window) {
    return window.windowType() == Qt::Window && !window.windowFlags().testFlag(Qt::FramelessWindowHint) &&
           window.windowTitle() == QStringLiteral("Zentrel") && !window.windowIcon().pixmap(32).isNull();
}

// Asks the X server itself, as a task list would: mapped, and found under its name.
bool serverShows(const QWidget& window) {
    QProcess search;
    search.start(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                             QStringLiteral("--name"), QStringLiteral("^Zentrel")});
    return search.waitForFinished() && QString::fromLatin1(search.readAllStandardOutput())
                                           .split(QLatin1Char('\n'))
                                           .contains(QString::number(window.winId()));
}
} // namespace

// A session where nothing shows tray icons (no StatusNotifierWatcher on the bus, no XEmbed tray
// on the display): the panel is an ordinary window, and a tray that starts later takes over.
class TestPanelWithoutTray : public QObject {
    Q_OBJECT

    std::unique_ptr<DelegateHarness> m_harness;

    PanelWindow& panel() { return *m_harness->delegate().panel(); }

private Q_SLOTS:
    void initTestCase() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
    }

    void cleanupTestCase() { m_harness.reset(); }

    void opensAsAWindowAtStartAndWhenAsked_data() {
        QTest::addColumn<bool>("showAtStart");
        QTest::newRow("zentrel") << false;
        QTest::newRow("zentrel show") << true;
    }

    // Started either way, Zentrel opens the same window: decorated, centred, with its icon.
    void opensAsAWindowAtStartAndWhenAsked() {
        QFETCH(bool, showAtStart);
        m_harness.reset();
        m_harness = std::make_unique<DelegateHarness>(QDBusConnection::sessionBus());
        if (showAtStart) {
            m_harness->delegate().showPanel(); // as `zentrel show` does when it starts Zentrel
        }
        QTRY_VERIFY(panel().isVisible());
        QVERIFY(m_harness->delegate().statusItem()->inTray() == false);
        QVERIFY(isOrdinaryWindow(panel()));
        QCOMPARE(panel().geometry().center(), QGuiApplication::primaryScreen()->availableGeometry().center());
        QTRY_VERIFY(serverShows(panel()));

        panel().close();
        QVERIFY(!panel().isVisible());
        m_harness->delegate().showPanel(); // what a second start or `zentrel show` hands over
        QVERIFY(panel().isVisible());
        QVERIFY(isOrdinaryWindow(panel()));
        QTRY_VERIFY(serverShows(panel()));
        panel().close();
    }

    void aTrayStartingLaterShowsTheIconAndLeavesTheWindowClosed() {
        if (const QString missing = TrayDesktop::missingTools(); !missing.isEmpty()) {
            QSKIP(qPrintable(QStringLiteral("not installed: ") + missing));
        }
        TrayDesktop desktop;
        QVERIFY(desktop.start());
        QTRY_VERIFY_WITH_TIMEOUT(m_harness->delegate().statusItem()->inTray() == true, desktopTimeoutMs);
        QTRY_VERIFY_WITH_TIMEOUT(m_harness->delegate().statusItem()->systemTrayIcon()->geometry().isValid(),
                                 desktopTimeoutMs);
        QVERIFY(!panel().isVisible());

        m_harness->delegate().showPanel();
        QVERIFY(panel().isVisible());
        QVERIFY(panel().windowFlags().testFlag(Qt::Popup));
        QVERIFY(panel().windowFlags().testFlag(Qt::FramelessWindowHint));
    }
};

QTEST_MAIN(TestPanelWithoutTray)
#include "tst_panelwithouttray.moc"
