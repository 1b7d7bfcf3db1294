#include "AppIdentity.h"
#include "LocalHttpServer.h"
#include "update/Appcast.h"
#include "update/UpdateDialog.h"
#include "update/Updater.h"

#include <QDesktopServices>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

using namespace std::chrono_literals;

Q_DECLARE_METATYPE(LocalHttpServer::Response)

namespace {

constexpr auto shortTimeout = 300ms;
constexpr int settleMs = 10000;

QByteArray rss(const QString& items) {
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
               "<rss version=\"2.0\" xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\">"
               "<channel><title>Zentrel</title>%1</channel></rss>")
        .arg(items)
        .toUtf8();
}

QString enclosureItem(const QString& version, const QString& os = QStringLiteral("linux")) {
    return QStringLiteral("<item><title>Zentrel %1</title><link>https://zentrel.app/download/%1</link>"
                          "<enclosure url=\"https://zentrel.app/zentrel-%1.deb\" sparkle:version=\"%1\" "
                          "sparkle:os=\"%2\" length=\"1\" type=\"application/octet-stream\"/></item>")
        .arg(version, os);
}

LocalHttpServer::Response withBehaviour(LocalHttpServer::Behaviour behaviour, QByteArray body = {}) {
    LocalHttpServer::Response response = LocalHttpServer::ok(std::move(body));
    response.behaviour = behaviour;
    return response;
}

LocalHttpServer::Response withStatus(int status) {
    LocalHttpServer::Response response;
    response.status = status;
    response.body = "<html>broken</html>";
    return response;
}

// A port that nothing listens on: taken and released again.
QUrl refusingUrl() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return QUrl(QStringLiteral("http://127.0.0.1:%1/appcast.xml").arg(port));
}

class EnvironmentOverride {
public:
    EnvironmentOverride(const char* name, const QByteArray& value)
        : m_name(name)
        , m_wasSet(qEnvironmentVariableIsSet(name))
        , m_previous(qgetenv(name)) {
        qputenv(name, value);
    }
    ~EnvironmentOverride() {
        if (m_wasSet) {
            qputenv(m_name, m_previous);
        } else {
            qunsetenv(m_name);
        }
    }
    EnvironmentOverride(const EnvironmentOverride&) = delete;
    EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

private:
    const char* m_name;
    bool m_wasSet;
    QByteArray m_previous;
};

class UrlRecorder : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl& url) { opened.append(url); }
};

} // namespace

class TestUpdater : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void appcastPicksTheNewestReleaseForUs_data();
    void appcastPicksTheNewestReleaseForUs();
    void appcastWithoutAReleaseForUsFails_data();
    void appcastWithoutAReleaseForUsFails();
    void checkEndsInTheRightState_data();
    void checkEndsInTheRightState();
    void checkOfAnUnreachableServerFails();
    void sandboxedInstallsAskNoServer_data();
    void sandboxedInstallsAskNoServer();
    void aCheckUnderWayIsNotDuplicated();
    void dialogFollowsTheCheck_data();
    void dialogFollowsTheCheck();
    void retryRunsANewCheck();
    void openDownloadPageOpensTheReleaseLink();
    void closeHidesTheDialog();
    void destroyingDuringACheckEndsTheRequest();

private:
    struct Fixture {
        LocalHttpServer server;
        Updater updater{QUrl(), nullptr};
        QSignalSpy finished{&updater, &Updater::checkFinished};

        explicit Fixture(const LocalHttpServer::Response& response) {
            server.setResponse(QStringLiteral("/appcast.xml"), response);
            updater.setFeedUrl(server.url(QStringLiteral("/appcast.xml")));
            updater.setTimeout(shortTimeout);
        }
    };
};

void TestUpdater::appcastPicksTheNewestReleaseForUs_data() {
    QTest::addColumn<QString>("items");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("displayVersion");
    QTest::addColumn<QUrl>("downloadPage");

    const QUrl page12(QStringLiteral("https://zentrel.app/download/1.2"));
    QTest::newRow("newest, not first")
        << enclosureItem(QStringLiteral("1.0")) + enclosureItem(QStringLiteral("1.2")) +
               enclosureItem(QStringLiteral("1.1"))
        << "1.2"
        << "1.2" << page12;
    QTest::newRow("linux item beats a newer item for no platform")
        << enclosureItem(QStringLiteral("3.0"), QString()) + enclosureItem(QStringLiteral("1.2")) << "1.2"
        << "1.2" << page12;
    QTest::newRow("other platforms ignored, unmarked item used")
        << enclosureItem(QStringLiteral("5.0"), QStringLiteral("windows")) +
               enclosureItem(QStringLiteral("1.2"), QString())
        << "1.2"
        << "1.2" << page12;
    QTest::newRow("beta channel ignored")
        << enclosureItem(QStringLiteral("1.2")) +
               QStringLiteral(
                   "<item><sparkle:channel>beta</sparkle:channel><sparkle:version>9.0</sparkle:version>"
                   "<link>https://zentrel.app/beta</link></item>")
        << "1.2"
        << "1.2" << page12;
    QTest::newRow("version as elements")
        << QStringLiteral("<item><sparkle:version>42</sparkle:version>"
                          "<sparkle:shortVersionString>1.4</sparkle:shortVersionString>"
                          "<link> https://zentrel.app/1.4 </link></item>")
        << "42"
        << "1.4" << QUrl(QStringLiteral("https://zentrel.app/1.4"));
    QTest::newRow("display version from the enclosure")
        << QStringLiteral("<item><enclosure url=\"https://zentrel.app/z.deb\" sparkle:os=\"linux\" "
                          "sparkle:version=\"7\" sparkle:shortVersionString=\"0.7\"/></item>")
        << "7"
        << "0.7" << QUrl(QStringLiteral("https://zentrel.app/z.deb"));
    QTest::newRow("no web link offered")
        << QStringLiteral("<item><link>javascript:alert(1)</link><enclosure url=\"file:///etc/passwd\" "
                          "sparkle:version=\"2.0\"/></item>")
        << "2.0"
        << "2.0" << QUrl();
    QTest::newRow("items without a version skipped")
        << QStringLiteral("<item><link>https://zentrel.app/x</link></item>") +
               enclosureItem(QStringLiteral("0.5"))
        << "0.5"
        << "0.5" << QUrl(QStringLiteral("https://zentrel.app/download/0.5"));
}

void TestUpdater::appcastPicksTheNewestReleaseForUs() {
    QFETCH(QString, items);
    QString error;
    const std::optional<Appcast::Release> release = Appcast::newestRelease(rss(items), &error);
    QVERIFY2(release.has_value(), qPrintable(error));
    QTEST(release->version, "version");
    QTEST(release->displayVersion, "displayVersion");
    QTEST(release->downloadPage, "downloadPage");
}

void TestUpdater::appcastWithoutAReleaseForUsFails_data() {
    QTest::addColumn<QByteArray>("feed");
    QTest::addColumn<QString>("reason");

    QTest::newRow("empty") << QByteArray() << "not valid XML";
    QTest::newRow("cut short") << rss(enclosureItem(QStringLiteral("1.0"))).chopped(20) << "not valid XML";
    QTest::newRow("undeclared prefix")
        << QByteArray("<rss><channel><item><sparkle:version>1</sparkle:version>"
                      "</item></channel></rss>")
        << "not valid XML";
    QTest::newRow("html page") << QByteArray("<html><body>Moved</body></html>") << "no release for Linux";
    QTest::newRow("only other platforms")
        << rss(enclosureItem(QStringLiteral("1.0"), QStringLiteral("macos"))) << "no release for Linux";
}

void TestUpdater::appcastWithoutAReleaseForUsFails() {
    QFETCH(QByteArray, feed);
    QFETCH(QString, reason);
    QString error;
    QVERIFY(!Appcast::newestRelease(feed, &error).has_value());
    QVERIFY2(error.contains(reason), qPrintable(error));
}

void TestUpdater::checkEndsInTheRightState_data() {
    QTest::addColumn<LocalHttpServer::Response>("response");
    QTest::addColumn<Updater::State>("state");
    QTest::addColumn<QString>("newestVersion");
    QTest::addColumn<QString>("reason");

    using Behaviour = LocalHttpServer::Behaviour;
    const QString current = AppIdentity::appVersion();
    QTest::newRow("newer") << LocalHttpServer::ok(rss(enclosureItem(QStringLiteral("99.0"))))
                           << Updater::State::UpdateAvailable << "99.0" << QString();
    QTest::newRow("same") << LocalHttpServer::ok(rss(enclosureItem(current))) << Updater::State::UpToDate
                          << current << QString();
    QTest::newRow("older") << LocalHttpServer::ok(rss(enclosureItem(QStringLiteral("0.0.1"))))
                           << Updater::State::UpToDate << "0.0.1" << QString();
    QTest::newRow("redirected once") << LocalHttpServer::redirect(QStringLiteral("/moved.xml"))
                                     << Updater::State::UpdateAvailable << "99.0" << QString();
    QTest::newRow("malformed") << LocalHttpServer::ok("<rss><channel><item>") << Updater::State::Failed
                               << QString() << "not valid XML";
    QTest::newRow("server error") << withStatus(500) << Updater::State::Failed << QString() << "HTTP 500";
    QTest::newRow("not found") << withStatus(404) << Updater::State::Failed << QString() << "HTTP 404";
    QTest::newRow("redirect loop") << LocalHttpServer::redirect(QStringLiteral("/appcast.xml"))
                                   << Updater::State::Failed << QString() << "redirects too often";
    QTest::newRow("silent server") << withBehaviour(Behaviour::Silent) << Updater::State::Failed << QString()
                                   << "did not answer in time";
    QTest::newRow("trickling server") << withBehaviour(Behaviour::Trickle, QByteArray(100000, ' '))
                                      << Updater::State::Failed << QString() << "did not answer in time";
    QTest::newRow("oversized feed") << LocalHttpServer::ok(QByteArray(Updater::maximumFeedBytes + 1, ' '))
                                    << Updater::State::Failed << QString() << "too large";
}

void TestUpdater::checkEndsInTheRightState() {
    QFETCH(LocalHttpServer::Response, response);
    QFETCH(Updater::State, state);
    Fixture fixture(response);
    fixture.server.setResponse(QStringLiteral("/moved.xml"),
                               LocalHttpServer::ok(rss(enclosureItem(QStringLiteral("99.0")))));

    fixture.updater.startCheck();
    QCOMPARE(fixture.updater.result().state, Updater::State::Checking);
    QVERIFY(fixture.finished.wait(settleMs));

    QCOMPARE(fixture.finished.size(), 1);
    QCOMPARE(fixture.finished.first().first().value<Updater::State>(), state);
    const Updater::Result& result = fixture.updater.result();
    QCOMPARE(result.state, state);
    QCOMPARE(result.currentVersion, AppIdentity::appVersion());
    QTEST(result.newestVersion, "newestVersion");
    QFETCH(QString, reason);
    QVERIFY2(result.failureReason.contains(reason), qPrintable(result.failureReason));
    QCOMPARE(result.failureReason.isEmpty(), reason.isEmpty());
}

void TestUpdater::checkOfAnUnreachableServerFails() {
    Updater updater(refusingUrl(), nullptr);
    QSignalSpy finished(&updater, &Updater::checkFinished);
    updater.startCheck();
    QVERIFY(finished.wait(settleMs));
    QCOMPARE(updater.result().state, Updater::State::Failed);
    QVERIFY(!updater.result().failureReason.isEmpty());
}

void TestUpdater::sandboxedInstallsAskNoServer_data() {
    QTest::addColumn<QByteArray>("variable");
    QTest::newRow("flatpak") << QByteArray("FLATPAK_ID");
    QTest::newRow("snap") << QByteArray("SNAP");
}

void TestUpdater::sandboxedInstallsAskNoServer() {
    QFETCH(QByteArray, variable);
    const EnvironmentOverride sandbox(variable.constData(), "app.zentrel.Zentrel");
    Fixture fixture(LocalHttpServer::ok(rss(enclosureItem(QStringLiteral("99.0")))));

    fixture.updater.checkForUpdates();

    QCOMPARE(fixture.finished.size(), 1);
    QCOMPARE(fixture.updater.result().state, Updater::State::PackageManaged);
    QCOMPARE(fixture.updater.dialog()->findChild<QLabel*>(QStringLiteral("message"))->text(),
             QStringLiteral("Updates for Zentrel come from your package manager."));
    QCOMPARE(fixture.server.requestCount(QStringLiteral("/appcast.xml")), 0);
}

void TestUpdater::aCheckUnderWayIsNotDuplicated() {
    Fixture fixture(withBehaviour(LocalHttpServer::Behaviour::Silent));
    QSignalSpy changes(&fixture.updater, &Updater::stateChanged);
    fixture.updater.startCheck();
    QTRY_COMPARE(fixture.server.requestCount(QStringLiteral("/appcast.xml")), 1);
    fixture.updater.startCheck();
    QVERIFY(fixture.finished.wait(settleMs));
    QCOMPARE(fixture.finished.size(), 1);
    QCOMPARE(changes.size(), 2); // checking, then failed
    QCOMPARE(fixture.server.requestCount(QStringLiteral("/appcast.xml")), 1);
}

void TestUpdater::dialogFollowsTheCheck_data() {
    QTest::addColumn<LocalHttpServer::Response>("response");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("openVisible");
    QTest::addColumn<bool>("retryVisible");

    const QString current = AppIdentity::appVersion();
    QTest::newRow("available") << LocalHttpServer::ok(rss(enclosureItem(QStringLiteral("99.0"))))
                               << QStringLiteral("Zentrel 99.0 is available (you have %1).").arg(current)
                               << true << false;
    QTest::newRow("up to date") << LocalHttpServer::ok(rss(enclosureItem(current)))
                                << QStringLiteral("Zentrel %1 is up to date.").arg(current) << false << false;
    QTest::newRow("failed") << withStatus(500)
                            << QStringLiteral("Update check failed: the update server answered HTTP 500")
                            << false << true;
}

void TestUpdater::dialogFollowsTheCheck() {
    QFETCH(LocalHttpServer::Response, response);
    Fixture fixture(response);

    fixture.updater.checkForUpdates();
    UpdateDialog* dialog = fixture.updater.dialog();
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    auto* message = dialog->findChild<QLabel*>(QStringLiteral("message"));
    auto* busy = dialog->findChild<QProgressBar*>(QStringLiteral("busyIndicator"));
    auto* open = dialog->findChild<QPushButton*>(QStringLiteral("openDownloadPageButton"));
    auto* retry = dialog->findChild<QPushButton*>(QStringLiteral("retryButton"));
    QCOMPARE(message->text(), QStringLiteral("Checking for updates…"));
    QVERIFY(busy->isVisible());
    QVERIFY(!open->isVisible());
    QVERIFY(!retry->isVisible());

    QVERIFY(fixture.finished.wait(settleMs));
    QTEST(message->text(), "message");
    QVERIFY(!busy->isVisible());
    QTEST(open->isVisible(), "openVisible");
    QTEST(retry->isVisible(), "retryVisible");
}

void TestUpdater::retryRunsANewCheck() {
    Fixture fixture(withStatus(500));
    fixture.updater.checkForUpdates();
    QVERIFY(fixture.finished.wait(settleMs));
    QCOMPARE(fixture.updater.result().state, Updater::State::Failed);

    fixture.server.setResponse(QStringLiteral("/appcast.xml"),
                               LocalHttpServer::ok(rss(enclosureItem(QStringLiteral("99.0")))));
    auto* retry = fixture.updater.dialog()->findChild<QPushButton*>(QStringLiteral("retryButton"));
    QTest::mouseClick(retry, Qt::LeftButton);
    QCOMPARE(fixture.updater.result().state, Updater::State::Checking);
    QVERIFY(fixture.finished.wait(settleMs));
    QCOMPARE(fixture.updater.result().state, Updater::State::UpdateAvailable);
    QCOMPARE(fixture.server.requestCount(QStringLiteral("/appcast.xml")), 2);
    QVERIFY(!retry->isVisible());
}

void TestUpdater::openDownloadPageOpensTheReleaseLink() {
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "open");
    Fixture fixture(LocalHttpServer::ok(rss(enclosureItem(QStringLiteral("99.0")))));
    fixture.updater.checkForUpdates();
    QVERIFY(fixture.finished.wait(settleMs));

    auto* open = fixture.updater.dialog()->findChild<QPushButton*>(QStringLiteral("openDownloadPageButton"));
    QTest::mouseClick(open, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));

    QCOMPARE(recorder.opened, QList<QUrl>{QUrl(QStringLiteral("https://zentrel.app/download/99.0"))});
    QVERIFY(!fixture.updater.dialog()->isVisible());
}

void TestUpdater::closeHidesTheDialog() {
    Fixture fixture(LocalHttpServer::ok(rss(enclosureItem(AppIdentity::appVersion()))));
    fixture.updater.checkForUpdates();
    QVERIFY(fixture.finished.wait(settleMs));
    QTest::mouseClick(fixture.updater.dialog()->findChild<QPushButton*>(QStringLiteral("closeButton")),
                      Qt::LeftButton);
    QVERIFY(!fixture.updater.dialog()->isVisible());

    fixture.updater.checkForUpdates();
    QVERIFY(fixture.updater.dialog()->isVisible());
    QVERIFY(fixture.finished.wait(settleMs));
}

// The request ends with the updater instead of reporting to an object that is gone.
void TestUpdater::destroyingDuringACheckEndsTheRequest() {
    LocalHttpServer server;
    server.setResponse(QStringLiteral("/appcast.xml"), withBehaviour(LocalHttpServer::Behaviour::Silent));
    {
        Updater updater(server.url(QStringLiteral("/appcast.xml")), nullptr);
        updater.checkForUpdates();
        QTRY_COMPARE(server.requestCount(QStringLiteral("/appcast.xml")), 1);
        QCOMPARE(server.openConnections(), 1);
    }
    QTRY_COMPARE(server.openConnections(), 0);
}

QTEST_MAIN(TestUpdater)
#include "tst_updater.moc"
