#include "DelegateHarness.h"
#include "StatusNotifierWatcherStandIn.h"
#include "app/panel/PanelPlacement.h"
#include "app/panel/PanelWindow.h"
#include "app/shell/AppDelegate.h"
#include "app/tray/DBusMenuTypes.h"
#include "app/tray/StatusItem.h"
#include "app/tray/StatusNotifierItem.h"
#include "app/tray/TrayIconImage.h"

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
    QStringList labels; // label|guide
    int newTitles = 0;
    int newIcons = 0;

public Q_SLOTS:
    void onNewLabel(const QString& label, const QString& guide) { labels.append(label + u'|' + guide); }
    void onNewTitle() { ++newTitles; }
    void onNewIcon() { ++newIcons; }
};

} // namespace

// The tray item on the private session bus, seen from a tray host: the watcher stand-in's own
// connection.
class TestStatusNotifierItem : public QObject {
    Q_OBJECT

    std::unique_ptr<StatusNotifierWatcherStandIn> m_watcher;

    // Calls from the host's connection; BlockWithGui keeps this thread answering for the item.
    QDBusMessage call(const StatusItem& item, const QString& interface, const QString& method,
                      const QVariantList& arguments = {}) const {
        const QString path =
            interface == menuInterface ? StatusNotifierItem::menuPath : StatusNotifierItem::itemPath;
        QDBusMessage message =
            QDBusMessage::createMethodCall(item.statusNotifierItem()->serviceName(), path, interface, method);
        message.setArguments(arguments);
        return m_watcher->connection().call(message, QDBus::BlockWithGui);
    }
    QDBusMessage clickMenu(const StatusItem& item, int id) const {
        return call(item, menuInterface, QStringLiteral("Event"),
                    {id, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(0)), 0u});
    }
    QVariantMap itemProperties(const StatusItem& item) const {
        const QDBusMessage reply = call(item, QStringLiteral("org.freedesktop.DBus.Properties"),
                                        QStringLiteral("GetAll"), {itemInterface});
        return reply.arguments().isEmpty() ? QVariantMap()
                                           : qdbus_cast<QVariantMap>(reply.arguments().constFirst());
    }
    QString title(const StatusItem& item) const {
        return itemProperties(item).value(QStringLiteral("Title")).toString();
    }
    // QtDBus connects remote signals by name only.
    void listen(const StatusItem& item, HostSignals& recorder) {
        const auto subscribe = [&](const char* name, const char* slot) {
            QVERIFY(m_watcher->connection().connect(item.statusNotifierItem()->serviceName(),
                                                    StatusNotifierItem::itemPath, itemInterface,
                                                    QString::fromLatin1(name), &recorder, slot));
        };
        subscribe("XAyatanaNewLabel", SLOT(onNewLabel(QString, QString)));
        subscribe("NewTitle", SLOT(onNewTitle()));
        subscribe("NewIcon", SLOT(onNewIcon()));
    }
    static void waitForStatusNotifier(const StatusItem& item) {
        QTRY_COMPARE(item.host(), StatusItem::Host::StatusNotifier);
    }
    static QPoint placed(const PanelWindow& panel, const QRect& anchor) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return placePanel(anchor, panel.size(), {{screen->geometry(), screen->availableGeometry()}});
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

    void registersAndShowsTitleIconAndToolTip() {
        StatusItem item(QDBusConnection::sessionBus());
        item.setStatus(QStringLiteral("2"), 2, 0.3);
        waitForStatusNotifier(item);
        const QString service = item.statusNotifierItem()->serviceName();
        QCOMPARE(service,
                 QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(QCoreApplication::applicationPid()));
        QCOMPARE(m_watcher->registeredItems(), QStringList{service});
        QCOMPARE(m_watcher->registrations().constFirst().sender, QDBusConnection::sessionBus().baseService());
        QVERIFY(!item.systemTrayIcon());

        const QVariantMap properties = itemProperties(item);
        QCOMPARE(properties.value(QStringLiteral("Title")).toString(), QStringLiteral(" 2"));
        QCOMPARE(properties.value(QStringLiteral("ItemIsMenu")), QVariant(false));
        QCOMPARE(properties.value(QStringLiteral("Menu")).value<QDBusObjectPath>().path(),
                 QStringLiteral("/MenuBar"));
        const auto pixmaps = qdbus_cast<SniIconPixmapList>(properties.value(QStringLiteral("IconPixmap")));
        QCOMPARE(pixmaps.size(), trayIconSizes.size());
        QCOMPARE(pixmaps.constLast().toImage(),
                 trayIconImage(trayIconSizes.constLast(), 2, 0.3).convertToFormat(QImage::Format_ARGB32));
        const auto toolTip = qdbus_cast<SniToolTip>(properties.value(QStringLiteral("ToolTip")));
        QCOMPARE(toolTip.title, QStringLiteral("Zentrel"));
        QCOMPARE(toolTip.description, QStringLiteral("2"));
    }

    // The title follows each counter and the prompts-per-set setting on its own. A label change is
    // one label and one title signal, the icon (with its ring) goes out only when the owed count or
    // the progress changes. The prompt that makes a set owed also resets the progress; the host
    // sees only the outcome, one title and one icon.
    void theHostSeesEachChangeOnce() {
        DelegateHarness harness(QDBusConnection::sessionBus());
        TrackerState& state = harness.state();
        const StatusItem& item = *harness.delegate().statusItem();
        waitForStatusNotifier(item);
        state.setPromptLimit(2);
        state.recordPrompt();
        QTRY_COMPARE(title(item), QStringLiteral(" 1/2"));
        state.setPromptLimit(3);
        QTRY_COMPARE(title(item), QStringLiteral(" 1/3"));
        HostSignals recorder;
        listen(item, recorder);
        state.recordPrompt();
        QTRY_COMPARE(recorder.newTitles, 1);
        state.recordPrompt();
        QTRY_COMPARE(title(item), QStringLiteral(" 1"));
        QTRY_COMPARE(recorder.newIcons, 2);
        state.recordPrompt(); // 1 of the next 3, still one set owed
        QTRY_COMPARE(recorder.newIcons, 3);
        QCOMPARE(title(item), QStringLiteral(" 1")); // a round trip, so anything sent has arrived
        QCOMPARE(recorder.newTitles, 2);
        state.completeSet();
        QTRY_COMPARE(recorder.newIcons, 4);
        QCOMPARE(recorder.labels, (QStringList{" 2/3| 2/3", " 1| 1", " 1/3| 1/3"}));
    }

    // Without a watcher the icon goes to the system tray; it returns to the watcher whenever one
    // appears, and back to the tray when that one goes.
    void fallsBackToTheSystemTrayAndReturns() {
        m_watcher->stop();
        StatusItem item(QDBusConnection::sessionBus());
        QTRY_COMPARE(item.host(), StatusItem::Host::SystemTray);
        QVERIFY(item.systemTrayIcon()->isVisible());
        item.setStatus(QStringLiteral("5/10"), 0);
        QCOMPARE(item.systemTrayIcon()->toolTip(), QStringLiteral("Zentrel 5/10"));

        QVERIFY(m_watcher->start());
        QTRY_COMPARE(m_watcher->registeredItems(), QStringList{item.statusNotifierItem()->serviceName()});
        waitForStatusNotifier(item);
        QVERIFY(!item.systemTrayIcon()->isVisible());
        m_watcher->stop();
        QTRY_COMPARE(item.host(), StatusItem::Host::SystemTray);
        QVERIFY(item.systemTrayIcon()->isVisible());
    }

    void menuAnswersTheProtocol() {
        StatusItem item(QDBusConnection::sessionBus());
        waitForStatusNotifier(item);
        const QDBusMessage layout =
            call(item, menuInterface, QStringLiteral("GetLayout"), {0, -1, QStringList()});
        const auto root = qdbus_cast<DBusMenuLayoutItem>(layout.arguments().at(1));
        QStringList labels;
        for (const DBusMenuLayoutItem& child : root.children) {
            labels.append(child.properties.value(QStringLiteral("label")).toString());
        }
        QCOMPARE(labels, (QStringList{QStringLiteral("Open Zentrel"), QStringLiteral("Check for Updates…"),
                                      QStringLiteral("Quit Zentrel")}));

        // Unknown ids come back as errors; hovering is not clicking, and only Quit quits.
        QSignalSpy quit(&item, &StatusItem::quitRequested);
        const DBusMenuEventList events{{99, QStringLiteral("clicked"), QDBusVariant(0), 0},
                                       {3, QStringLiteral("hovered"), QDBusVariant(0), 0}};
        const QDBusMessage eventGroup =
            call(item, menuInterface, QStringLiteral("EventGroup"), {QVariant::fromValue(events)});
        QCOMPARE(qdbus_cast<QList<int>>(eventGroup.arguments().constFirst()), QList<int>{99});
        QVERIFY(!quit.wait(50));
    }

    // A left click toggles the panel at the clicked point; "Open Zentrel" (like a second start)
    // opens it there too, the last place a click told, rather than at the pointer.
    void activateAndMenuOpenThePanel() {
        DelegateHarness harness(QDBusConnection::sessionBus());
        const StatusItem& item = *harness.delegate().statusItem();
        waitForStatusNotifier(item);
        PanelWindow& panel = *harness.delegate().panel();
        call(item, itemInterface, QStringLiteral("Activate"), {300, 40});
        QTRY_VERIFY(panel.isVisible());
        QCOMPARE(panel.pos(), placed(panel, QRect(300, 40, 0, 0)));
        call(item, itemInterface, QStringLiteral("Activate"), {300, 40});
        QTRY_VERIFY(!panel.isVisible());

        clickMenu(item, 1);
        QTRY_VERIFY(panel.isVisible());
        QCOMPARE(panel.pos(), placed(panel, QRect(300, 40, 0, 0)));
    }
};

QTEST_MAIN(TestStatusNotifierItem)
#include "tst_statusnotifieritem.moc"
