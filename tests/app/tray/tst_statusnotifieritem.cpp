#include "AppDelegate.h"
#include "DelegateHarness.h"
#include "StatusNotifierWatcherStandIn.h"
#include "panel/PanelPlacement.h"
#include "panel/PanelWindow.h"
#include "tray/DBusMenuTypes.h"
#include "tray/StatusItem.h"
#include "tray/StatusNotifierItem.h"
#include "tray/TrayIconImage.h"
#include "update/UpdateDialog.h"
#include "update/Updater.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>

namespace {
const QString itemInterface = QStringLiteral("org.kde.StatusNotifierItem");
const QString menuInterface = QStringLiteral("com.canonical.dbusmenu");

// Records the item's signals as a tray host receives them over the bus.
class HostSignals : public QObject {
    Q_OBJECT

public:
    QList<QStringList> labels;
    int newTitles = 0;
    int newToolTips = 0;
    int newIcons = 0;

public Q_SLOTS:
    void onNewLabel(const QString& label, const QString& guide) { labels.append({label, guide}); }
    void onNewTitle() { ++newTitles; }
    void onNewToolTip() { ++newToolTips; }
    void onNewIcon() { ++newIcons; }
};

QList<ScreenArea> currentScreens() {
    QList<ScreenArea> areas;
    const QScreen* screen = QGuiApplication::primaryScreen();
    areas.append({screen->geometry(), screen->availableGeometry()});
    return areas;
}
} // namespace

class TestStatusNotifierItem : public QObject {
    Q_OBJECT

    std::unique_ptr<StatusNotifierWatcherStandIn> m_watcher;

    QDBusConnection host() const { return m_watcher->connection(); }

    // Calls from the host's connection; BlockWithGui keeps this thread answering for the item.
    QDBusMessage call(const QString& service, const QString& path, const QString& interface,
                      const QString& method, const QVariantList& arguments = {}) const {
        QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
        message.setArguments(arguments);
        return host().call(message, QDBus::BlockWithGui);
    }

    QDBusMessage callItem(const StatusItem& item, const QString& method,
                          const QVariantList& arguments = {}) const {
        return call(item.statusNotifierItem()->serviceName(), StatusNotifierItem::itemPath, itemInterface,
                    method, arguments);
    }

    QDBusMessage callMenu(const StatusItem& item, const QString& method,
                          const QVariantList& arguments = {}) const {
        return call(item.statusNotifierItem()->serviceName(), StatusNotifierItem::menuPath, menuInterface,
                    method, arguments);
    }

    QVariantMap itemProperties(const StatusItem& item, const QString& interface = itemInterface) const {
        const QString path =
            interface == itemInterface ? StatusNotifierItem::itemPath : StatusNotifierItem::menuPath;
        const QDBusMessage reply =
            call(item.statusNotifierItem()->serviceName(), path,
                 QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("GetAll"), {interface});
        if (reply.type() != QDBusMessage::ReplyMessage)
            return {};
        return qdbus_cast<QVariantMap>(reply.arguments().constFirst());
    }

    void connectHostSignal(const StatusItem& item, const char* name, const char* slot,
                           HostSignals& recorder) {
        // QtDBus connects remote signals by name only.
        QVERIFY(host().connect(item.statusNotifierItem()->serviceName(), StatusNotifierItem::itemPath,
                               itemInterface, QString::fromLatin1(name), &recorder, slot));
    }

    static void waitForStatusNotifier(const StatusItem& item) {
        QTRY_COMPARE(item.host(), StatusItem::Host::StatusNotifier);
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs a session bus (dbus-run-session)");
        registerDBusMenuTypes();
        registerStatusNotifierTypes();
    }

    void init() {
        m_watcher = std::make_unique<StatusNotifierWatcherStandIn>();
        QVERIFY(m_watcher->start());
    }

    void cleanup() { m_watcher.reset(); }

    void registersWithTheWatcher() {
        StatusItem item(QDBusConnection::sessionBus());
        waitForStatusNotifier(item);
        const QString service = item.statusNotifierItem()->serviceName();
        QCOMPARE(service,
                 QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(QCoreApplication::applicationPid()));
        QCOMPARE(m_watcher->registeredItems(), QStringList{service});
        QCOMPARE(m_watcher->registrations().constFirst().sender, QDBusConnection::sessionBus().baseService());
        QCOMPARE(host().interface()->serviceOwner(service).value(),
                 QDBusConnection::sessionBus().baseService());
        QVERIFY(!item.systemTrayIcon());
    }

    void exposesItsProperties_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("Category") << QStringLiteral("Category")
                                  << QVariant(QStringLiteral("ApplicationStatus"));
        QTest::newRow("Id") << QStringLiteral("Id") << QVariant(QStringLiteral("app.zentrel.Zentrel"));
        QTest::newRow("Status") << QStringLiteral("Status") << QVariant(QStringLiteral("Active"));
        QTest::newRow("Title") << QStringLiteral("Title") << QVariant(QStringLiteral(" 3/10"));
        QTest::newRow("XAyatanaLabel")
            << QStringLiteral("XAyatanaLabel") << QVariant(QStringLiteral(" 3/10"));
        QTest::newRow("XAyatanaLabelGuide")
            << QStringLiteral("XAyatanaLabelGuide") << QVariant(QStringLiteral(" 3/10"));
        QTest::newRow("ItemIsMenu") << QStringLiteral("ItemIsMenu") << QVariant(false);
        QTest::newRow("Menu") << QStringLiteral("Menu")
                              << QVariant::fromValue(QDBusObjectPath(QStringLiteral("/MenuBar")));
    }

    void exposesItsProperties() {
        QFETCH(QString, name);
        QFETCH(QVariant, value);
        StatusItem item(QDBusConnection::sessionBus());
        item.setStatus(QStringLiteral(" 3/10"), 0);
        waitForStatusNotifier(item);
        const QVariantMap properties = itemProperties(item);
        QVERIFY2(properties.contains(name), qPrintable(properties.keys().join(QLatin1Char(','))));
        QCOMPARE(properties.value(name), value);
    }

    void exposesIconAndToolTip() {
        StatusItem item(QDBusConnection::sessionBus());
        item.setStatus(QStringLiteral(" 2"), 2);
        waitForStatusNotifier(item);
        const QVariantMap properties = itemProperties(item);
        const auto pixmaps = qdbus_cast<SniIconPixmapList>(properties.value(QStringLiteral("IconPixmap")));
        QCOMPARE(pixmaps.size(), trayIconSizes.size());
        for (qsizetype i = 0; i < pixmaps.size(); ++i) {
            const int size = trayIconSizes.at(i);
            QCOMPARE(pixmaps.at(i).width, size);
            QCOMPARE(pixmaps.at(i).toImage(), trayIconImage(size, 2).convertToFormat(QImage::Format_ARGB32));
        }
        const auto toolTip = qdbus_cast<SniToolTip>(properties.value(QStringLiteral("ToolTip")));
        QCOMPARE(toolTip.title, QStringLiteral("Zentrel"));
        QCOMPARE(toolTip.description, QStringLiteral("2"));
    }

    // The prompt that makes a set owed also resets the progress; the host sees only the outcome.
    void anOwedSetReachesTheHostAsOneTitle() {
        DelegateHarness harness(QDBusConnection::sessionBus());
        const StatusItem& item = *harness.delegate().statusItem();
        waitForStatusNotifier(item);
        TrackerState& state = harness.state();
        state.setPromptLimit(2);
        state.recordPrompt();
        // Read back over the bus, so the label for " 1/2" has gone out before the host listens.
        QTRY_COMPARE(itemProperties(item).value(QStringLiteral("Title")).toString(), QStringLiteral(" 1/2"));
        HostSignals recorder;
        connectHostSignal(item, "XAyatanaNewLabel", SLOT(onNewLabel(QString, QString)), recorder);
        connectHostSignal(item, "NewTitle", SLOT(onNewTitle()), recorder);

        state.recordPrompt();
        QTRY_COMPARE(itemProperties(item).value(QStringLiteral("Title")).toString(), QStringLiteral(" 1"));
        QTRY_COMPARE(recorder.newTitles, 1);
        QCOMPARE(recorder.labels, (QList<QStringList>{{QStringLiteral(" 1"), QStringLiteral(" 1")}}));
    }

    void signalsLabelAndIconChanges() {
        StatusItem item(QDBusConnection::sessionBus());
        item.setStatus(QStringLiteral(" 3/10"), 0);
        waitForStatusNotifier(item);
        HostSignals recorder;
        connectHostSignal(item, "XAyatanaNewLabel", SLOT(onNewLabel(QString, QString)), recorder);
        connectHostSignal(item, "NewTitle", SLOT(onNewTitle()), recorder);
        connectHostSignal(item, "NewToolTip", SLOT(onNewToolTip()), recorder);
        connectHostSignal(item, "NewIcon", SLOT(onNewIcon()), recorder);

        item.setStatus(QStringLiteral(" 4/10"), 0);
        QTRY_COMPARE(recorder.labels,
                     (QList<QStringList>{{QStringLiteral(" 4/10"), QStringLiteral(" 4/10")}}));
        QTRY_COMPARE(recorder.newTitles, 1);
        QTRY_COMPARE(recorder.newToolTips, 1);
        QCOMPARE(recorder.newIcons, 0);

        item.setStatus(QStringLiteral(" 1"), 1);
        QTRY_COMPARE(recorder.newIcons, 1);
        QTRY_COMPARE(recorder.newTitles, 2);
        QCOMPARE(recorder.labels.constLast(), (QStringList{QStringLiteral(" 1"), QStringLiteral(" 1")}));
        QCOMPARE(itemProperties(item).value(QStringLiteral("Title")).toString(), QStringLiteral(" 1"));

        item.setStatus(QStringLiteral(" 1"), 1); // nothing changed, nothing sent
        QTRY_COMPARE(itemProperties(item).value(QStringLiteral("Title")).toString(), QStringLiteral(" 1"));
        QCOMPARE(recorder.newTitles, 2);
        QCOMPARE(recorder.newIcons, 1);
    }

    void reRegistersWhenTheWatcherReturns() {
        StatusItem item(QDBusConnection::sessionBus());
        waitForStatusNotifier(item);
        m_watcher->stop();
        QTRY_COMPARE(item.host(), StatusItem::Host::SystemTray);
        QVERIFY(item.systemTrayIcon());
        QVERIFY(m_watcher->start());
        QTRY_COMPARE(m_watcher->registeredItems(), QStringList{item.statusNotifierItem()->serviceName()});
        waitForStatusNotifier(item);
        QVERIFY(!item.systemTrayIcon()->isVisible());
    }

    void fallsBackToTheSystemTrayWithoutAWatcher() {
        m_watcher->stop();
        StatusItem item(QDBusConnection::sessionBus());
        QTRY_COMPARE(item.host(), StatusItem::Host::SystemTray);
        QVERIFY(item.systemTrayIcon()->isVisible());
        item.setStatus(QStringLiteral(" 5/10"), 0);
        QCOMPARE(item.systemTrayIcon()->toolTip(), QStringLiteral("Zentrel 5/10"));
    }

    void menuListsTheThreeEntries() {
        StatusItem item(QDBusConnection::sessionBus());
        waitForStatusNotifier(item);
        const QDBusMessage reply = callMenu(item, QStringLiteral("GetLayout"), {0, -1, QStringList()});
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        QCOMPARE(reply.arguments().size(), 2);
        const auto layout = qdbus_cast<DBusMenuLayoutItem>(reply.arguments().at(1));
        QCOMPARE(layout.id, 0);
        QCOMPARE(layout.properties.value(QStringLiteral("children-display")).toString(),
                 QStringLiteral("submenu"));
        QStringList labels;
        for (const DBusMenuLayoutItem& child : layout.children) {
            labels.append(child.properties.value(QStringLiteral("label")).toString());
            QVERIFY(child.properties.value(QStringLiteral("enabled")).toBool());
            QVERIFY(child.properties.value(QStringLiteral("visible")).toBool());
        }
        QCOMPARE(labels, (QStringList{QStringLiteral("Open Zentrel"), QStringLiteral("Check for Updates…"),
                                      QStringLiteral("Quit Zentrel")}));
    }

    void menuAnswersTheRestOfTheProtocol() {
        StatusItem item(QDBusConnection::sessionBus());
        waitForStatusNotifier(item);
        const QVariantMap properties = itemProperties(item, menuInterface);
        QCOMPARE(properties.value(QStringLiteral("Version")).toUInt(), 3u);
        QCOMPARE(properties.value(QStringLiteral("TextDirection")).toString(), QStringLiteral("ltr"));
        QCOMPARE(properties.value(QStringLiteral("Status")).toString(), QStringLiteral("normal"));

        const QDBusMessage group = callMenu(item, QStringLiteral("GetGroupProperties"),
                                            {QVariant::fromValue(QList<int>{3, 42}), QStringList{"label"}});
        const auto items = qdbus_cast<DBusMenuItemList>(group.arguments().constFirst());
        QCOMPARE(items.size(), 1);
        QCOMPARE(items.constFirst().id, 3);
        QCOMPARE(items.constFirst().properties, (QVariantMap{{"label", QStringLiteral("Quit Zentrel")}}));

        const QDBusMessage single =
            callMenu(item, QStringLiteral("GetProperty"), {1, QStringLiteral("label")});
        QCOMPARE(single.arguments().constFirst().value<QDBusVariant>().variant().toString(),
                 QStringLiteral("Open Zentrel"));

        const QDBusMessage aboutToShow =
            callMenu(item, QStringLiteral("AboutToShowGroup"), {QVariant::fromValue(QList<int>{0, 1, 9})});
        QCOMPARE(qdbus_cast<QList<int>>(aboutToShow.arguments().at(1)), QList<int>{9});

        QSignalSpy quit(&item, &StatusItem::quitRequested);
        const DBusMenuEventList events{{99, QStringLiteral("clicked"), QDBusVariant(0), 0},
                                       {3, QStringLiteral("hovered"), QDBusVariant(0), 0}};
        const QDBusMessage eventGroup =
            callMenu(item, QStringLiteral("EventGroup"), {QVariant::fromValue(events)});
        QVERIFY2(eventGroup.type() == QDBusMessage::ReplyMessage, qPrintable(eventGroup.errorMessage()));
        QCOMPARE(qdbus_cast<QList<int>>(eventGroup.arguments().constFirst()), QList<int>{99});
        QVERIFY(!quit.wait(50)); // hovering is not clicking
    }

    void menuClicksReachTheirActions_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("expectedSignal");
        QTest::newRow("Open Zentrel") << 1 << 0;
        QTest::newRow("Check for Updates…") << 2 << 1;
        QTest::newRow("Quit Zentrel") << 3 << 2;
    }

    void menuClicksReachTheirActions() {
        QFETCH(int, id);
        QFETCH(int, expectedSignal);
        StatusItem item(QDBusConnection::sessionBus());
        waitForStatusNotifier(item);
        QSignalSpy open(&item, &StatusItem::openRequested);
        QSignalSpy update(&item, &StatusItem::checkForUpdatesRequested);
        QSignalSpy quit(&item, &StatusItem::quitRequested);
        const QList<QSignalSpy*> spies{&open, &update, &quit};
        const QDBusMessage reply =
            callMenu(item, QStringLiteral("Event"),
                     {id, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(0)), 0u});
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        QTRY_COMPARE(spies.at(expectedSignal)->count(), 1);
        for (int i = 0; i < spies.size(); ++i)
            QCOMPARE(spies.at(i)->count(), i == expectedSignal ? 1 : 0);
    }

    void activateTogglesThePanel() {
        DelegateHarness harness(QDBusConnection::sessionBus());
        const StatusItem& item = *harness.delegate().statusItem();
        waitForStatusNotifier(item);
        PanelWindow& panel = *harness.delegate().panel();
        QVERIFY(!panel.isVisible());

        QCOMPARE(callItem(item, QStringLiteral("Activate"), {300, 40}).type(), QDBusMessage::ReplyMessage);
        QTRY_VERIFY(panel.isVisible());
        QCOMPARE(panel.pos(), placePanel(QRect(300, 40, 0, 0), panel.size(), currentScreens()));
        QCOMPARE(panel.size(), QSize(280, 500));

        callItem(item, QStringLiteral("Activate"), {300, 40});
        QTRY_VERIFY(!panel.isVisible());
    }

    void menuOpenShowsThePanel() {
        DelegateHarness harness(QDBusConnection::sessionBus());
        const StatusItem& item = *harness.delegate().statusItem();
        waitForStatusNotifier(item);
        callMenu(item, QStringLiteral("Event"),
                 {1, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(0)), 0u});
        PanelWindow& panel = *harness.delegate().panel();
        QTRY_VERIFY(panel.isVisible());
        QCOMPARE(panel.pos(), placePanel(QRect(QCursor::pos(), QSize(0, 0)), panel.size(), currentScreens()));
    }

    void menuUpdateCheckStartsTheUpdater() {
        DelegateHarness harness(QDBusConnection::sessionBus());
        const StatusItem& item = *harness.delegate().statusItem();
        waitForStatusNotifier(item);
        Updater& updater = harness.delegate().updater();
        updater.setFeedUrl(QUrl(QStringLiteral("http://127.0.0.1:9/appcast.xml"))); // nothing listens there
        updater.setTimeout(std::chrono::seconds(2)); // ends the check even where something does
        QSignalSpy states(&updater, &Updater::stateChanged);
        // Watched before the click: the refusal often arrives while the menu call is still turning
        // this thread's event loop, and a spy made after it would wait for a signal already gone.
        QSignalSpy finished(&updater, &Updater::checkFinished);
        callMenu(item, QStringLiteral("Event"),
                 {2, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(0)), 0u});
        QTRY_VERIFY(!states.isEmpty());
        QCOMPARE(states.constFirst().constFirst().value<Updater::State>(), Updater::State::Checking);
        QVERIFY(updater.dialog() && updater.dialog()->isVisible());

        QVERIFY(!finished.isEmpty() || finished.wait());
        QCOMPARE(finished.size(), 1);
        QCOMPARE(updater.result().state, Updater::State::Failed);
        QVERIFY(updater.dialog()->isVisible());
    }
};

QTEST_MAIN(TestStatusNotifierItem)
#include "tst_statusnotifieritem.moc"
