#include "LocalHttpServer.h"
#include "app/update/UpdateDialog.h"
#include "app/update/Updater.h"
#include "common/AppIdentity.h"

#include <QDesktopServices>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;

Q_DECLARE_METATYPE(LocalHttpServer::Response)

namespace {
constexpr int settleMs = 10000;
const QString feedPath = QStringLiteral("/appcast.xml");

LocalHttpServer::Response feed(const QString& items) {
    return LocalHttpServer::ok(
        QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
            "<rss version=\"2.0\" xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\">"
            "<channel><title>Zentrel</title>%1</channel></rss>")
            .arg(items)
            .toUtf8());
}

QString item(const QString& version, const QString& os = QStringLiteral("linux")) {
    return QStringLiteral("<item><title>Zentrel %1</title><link>https://zentrel.app/download/%1</link>"
                          "<enclosure url=\"https://zentrel.app/zentrel-%1.deb\" sparkle:version=\"%1\" "
                          "sparkle:os=\"%2\" length=\"1\" type=\"application/octet-stream\"/></item>")
        .arg(version, os);
}

LocalHttpServer::Response reply(int status, LocalHttpServer::Behaviour behaviour, QByteArray body = {}) {
    return {status, std::move(body), {}, behaviour};
}

QUrl page(const QString& version) {
    return QUrl(QStringLiteral("https://zentrel.app/download/") + version);
}

class UrlRecorder : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl& url) { opened.append(url); }
};

// An updater asking the local server, with a short timeout.
struct Fixture {
    LocalHttpServer server;
    Updater updater{QUrl(), nullptr};
    QSignalSpy finished{&updater, &Updater::checkFinished};

    explicit Fixture(const LocalHttpServer::Response& response) {
        server.setResponse(feedPath, response);
        updater.setFeedUrl(server.url(feedPath));
        updater.setTimeout(300ms);
    }
    template <typename T = QWidget> T* shown(const char* name) const {
        return updater.dialog()->findChild<T*>(QLatin1String(name));
    }
    bool visible(const char* name) const { return shown(name)->isVisible(); }
};
} // namespace

class TestUpdater : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A check ends in failure for a reason, else up to date or with an update, as the newest
    // version says.
    void checkEndsInTheRightState_data() {
        QTest::addColumn<LocalHttpServer::Response>("response");
        QTest::addColumn<QString>("newestVersion");
        QTest::addColumn<QUrl>("downloadPage");
        QTest::addColumn<QString>("reason");
        const auto found = [](const char* name, const LocalHttpServer::Response& response,
                              const QString& version, const QUrl& page) {
            QTest::newRow(name) << response << version << page << QString();
        };
        const auto failed = [](const char* name, const LocalHttpServer::Response& response,
                               const char* reason) {
            QTest::newRow(name) << response << QString() << QUrl() << QString::fromUtf8(reason);
        };
        using Behaviour = LocalHttpServer::Behaviour;
        const QString current = AppIdentity::appVersion();
        found("newest of several", feed(item("98.0") + item("99.0") + item("98.5")), "99.0", page("99.0"));
        found("same", feed(item(current)), current, page(current));
        found("linux item beats newer items for no or other platforms",
              feed(item("101.0", "windows") + item("100.0", QString()) + item("99.0")), "99.0", page("99.0"));
        found("unmarked item when none is for linux",
              feed(item("101.0", "windows") + item("99.0", QString())), "99.0", page("99.0"));
        failed("only other platforms", feed(item("99.0", "macos")), "no release for Linux");
        found("beta channel ignored",
              feed(item("99.0") +
                   item("100.0").replace("<item>", "<item><sparkle:channel>beta</sparkle:channel>")),
              "99.0", page("99.0"));
        found("version and display version as elements",
              feed("<item><sparkle:version>42</sparkle:version><sparkle:shortVersionString>1.4"
                   "</sparkle:shortVersionString><link> https://zentrel.app/1.4 </link></item>"),
              "1.4", QUrl("https://zentrel.app/1.4"));
        found("no web link offered",
              feed("<item><link>javascript:alert(1)</link><enclosure url=\"file:///etc/passwd\" "
                   "sparkle:version=\"99.0\"/></item>"),
              "99.0", QUrl());
        failed("malformed", LocalHttpServer::ok("<rss><channel><item>"), "not valid XML");
        failed("server error", reply(500, Behaviour::Answer), "HTTP 500");
        failed("redirect loop", LocalHttpServer::redirect(feedPath), "redirects too often");
        failed("trickling server", reply(200, Behaviour::Trickle, QByteArray(100000, ' ')),
               "did not answer in time");
        failed("oversized feed", LocalHttpServer::ok(QByteArray(Updater::maximumFeedBytes + 1, ' ')),
               "too large");
    }

    void checkEndsInTheRightState() {
        QFETCH(LocalHttpServer::Response, response);
        QFETCH(QString, newestVersion);
        QFETCH(QString, reason);
        const QString current = AppIdentity::appVersion();
        const Updater::State state = !reason.isEmpty()          ? Updater::State::Failed
                                     : newestVersion == current ? Updater::State::UpToDate
                                                                : Updater::State::UpdateAvailable;
        Fixture fixture(response);
        fixture.updater.startCheck();
        QCOMPARE(fixture.updater.result().state, Updater::State::Checking);
        QVERIFY(fixture.finished.wait(settleMs));
        QCOMPARE(fixture.finished.size(), 1);
        const Updater::Result& result = fixture.updater.result();
        QCOMPARE(result.state, state);
        QCOMPARE(result.newestVersion, newestVersion);
        QTEST(result.downloadPage, "downloadPage");
        QVERIFY2(result.failureReason.contains(reason), qPrintable(result.failureReason));
        QCOMPARE(result.failureReason.isEmpty(), reason.isEmpty());
    }

    void sandboxedInstallsAskNoServer() {
        for (const char* variable : {"FLATPAK_ID", "SNAP"}) {
            Fixture fixture(feed(item("99.0")));
            qputenv(variable, "app.zentrel.Zentrel");
            fixture.updater.checkForUpdates();
            qunsetenv(variable);
            QCOMPARE(fixture.finished.size(), 1);
            QCOMPARE(fixture.updater.result().state, Updater::State::PackageManaged);
            QCOMPARE(fixture.shown<QLabel>("message")->text(),
                     QStringLiteral("Updates for Zentrel come from your package manager."));
            QCOMPARE(fixture.server.requestCount(feedPath), 0);
        }
    }

    // One non-modal dialog follows check after check: failed, then retried into an update whose
    // page it opens.
    void dialogFollowsTheChecks() {
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "open");
        Fixture fixture(reply(500, LocalHttpServer::Behaviour::Answer));
        fixture.updater.checkForUpdates();
        QVERIFY(fixture.updater.dialog()->isVisible());
        QVERIFY(!fixture.updater.dialog()->isModal());
        auto* message = fixture.shown<QLabel>("message");
        QCOMPARE(message->text(), QStringLiteral("Checking for updates…"));
        QVERIFY(fixture.visible("busyIndicator"));
        QVERIFY(!fixture.visible("openDownloadPageButton") && !fixture.visible("retryButton"));
        QVERIFY(fixture.finished.wait(settleMs));
        QCOMPARE(message->text(), QStringLiteral("Update check failed: the update server answered HTTP 500"));
        QVERIFY(!fixture.visible("busyIndicator"));
        QVERIFY(!fixture.visible("openDownloadPageButton") && fixture.visible("retryButton"));

        fixture.server.setResponse(feedPath, feed(item("99.0")));
        QTest::mouseClick(fixture.shown("retryButton"), Qt::LeftButton);
        QCOMPARE(fixture.updater.result().state, Updater::State::Checking);
        QVERIFY(fixture.finished.wait(settleMs));
        QCOMPARE(message->text(),
                 QStringLiteral("Zentrel 99.0 is available (you have %1).").arg(AppIdentity::appVersion()));
        QVERIFY(fixture.visible("openDownloadPageButton") && !fixture.visible("retryButton"));
        QTest::mouseClick(fixture.shown("openDownloadPageButton"), Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(recorder.opened, QList<QUrl>{page("99.0")});
        QVERIFY(!fixture.updater.dialog()->isVisible());
    }

    // A check under way is not started twice; its request ends with the updater instead of
    // reporting to an object that is gone.
    void aCheckUnderWayIsNotDuplicatedAndEndsWithTheUpdater() {
        LocalHttpServer server;
        server.setResponse(feedPath, reply(200, LocalHttpServer::Behaviour::Silent));
        {
            Updater updater(server.url(feedPath), nullptr);
            QSignalSpy changes(&updater, &Updater::stateChanged);
            updater.checkForUpdates();
            QTRY_COMPARE(server.requestCount(feedPath), 1);
            updater.startCheck();
            QCOMPARE(changes.size(), 1);
            QCOMPARE(server.openConnections(), 1);
        }
        QTRY_COMPARE(server.openConnections(), 0);
        QCOMPARE(server.requestCount(feedPath), 1);
    }
};

QTEST_MAIN(TestUpdater)
#include "tst_updater.moc"
