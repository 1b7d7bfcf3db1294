#include "NotificationServerFixture.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <utility>

namespace {
const QString objectPath = QStringLiteral("/org/freedesktop/Notifications");
const QString serverInterface = QStringLiteral("org.freedesktop.Notifications");
const QString mockInterface = QStringLiteral("org.freedesktop.DBus.Mock");
// Methods the fixture adds to the server for its own use.
const QString fixtureInterface = QStringLiteral("app.zentrel.TestFixture");
constexpr int startTimeoutMs = 15000;

QDBusConnection bus() {
    return QDBusConnection::sessionBus();
}

bool nameHasOwner() {
    return bus().interface()->isServiceRegistered(NotificationServerFixture::serviceName);
}

// One entry of GetMethodCalls' a(tav): the call's time, then its arguments as variants.
QVariantList readCallArguments(const QDBusArgument& call) {
    quint64 timestamp = 0;
    QVariantList arguments;
    call.beginStructure();
    call >> timestamp;
    call.beginArray();
    while (!call.atEnd()) {
        QDBusVariant argument;
        call >> argument;
        arguments << argument.variant();
    }
    call.endArray();
    call.endStructure();
    return arguments;
}

// dbusmock hands container arguments back undecoded.
template <typename T> T decoded(const QVariant& value) {
    return value.canConvert<QDBusArgument>() ? qdbus_cast<T>(value.value<QDBusArgument>()) : value.value<T>();
}
} // namespace

const QString NotificationServerFixture::serviceName = QStringLiteral("org.freedesktop.Notifications");
const QString NotificationServerFixture::defaultCapabilities =
    QStringLiteral("actions body sound persistence");

NotificationServerFixture::NotificationServerFixture(QString capabilities)
    : m_capabilities(std::move(capabilities)) {}

NotificationServerFixture::~NotificationServerFixture() {
    stop();
}

bool NotificationServerFixture::start() {
    if (!bus().isConnected()) {
        return fail(QStringLiteral("no session bus: run under dbus-run-session"));
    }
    if (nameHasOwner()) {
        return fail(QStringLiteral("the bus already has a notification server; use a private bus"));
    }
    const QJsonObject parameters{{QStringLiteral("capabilities"), m_capabilities}};
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral("/usr/bin/python3"),
                    {QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("--template"),
                     QStringLiteral("notification_daemon"), QStringLiteral("-p"),
                     QString::fromUtf8(QJsonDocument(parameters).toJson(QJsonDocument::Compact))});
    if (!m_process.waitForStarted()) {
        return fail(QStringLiteral("python3 -m dbusmock did not start: ") + m_process.errorString());
    }
    if (!QTest::qWaitFor([this] { return nameHasOwner() || m_process.state() == QProcess::NotRunning; },
                         startTimeoutMs) ||
        !nameHasOwner()) {
        stop();
        return fail(QStringLiteral("dbusmock never took the notification server's name"));
    }
    return true;
}

void NotificationServerFixture::stop() {
    if (m_process.state() == QProcess::NotRunning) {
        return;
    }
    m_process.terminate();
    m_process.waitForFinished();
    if (!QTest::qWaitFor([] { return !nameHasOwner(); }, startTimeoutMs)) {
        qWarning("The notification server's bus name outlived its process");
    }
}

bool NotificationServerFixture::fail(const QString& error) {
    m_error = error;
    return false;
}

QList<QVariantList> NotificationServerFixture::methodCalls(const QString& method) const {
    QDBusMessage request = QDBusMessage::createMethodCall(serviceName, objectPath, mockInterface,
                                                          QStringLiteral("GetMethodCalls"));
    request << method;
    const QDBusMessage reply = bus().call(request);
    QList<QVariantList> calls;
    if (reply.type() != QDBusMessage::ReplyMessage) {
        qWarning("GetMethodCalls failed: %s", qPrintable(reply.errorMessage()));
        return calls;
    }
    const QDBusArgument list = reply.arguments().constFirst().value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        calls << readCallArguments(list);
    }
    list.endArray();
    return calls;
}

// The template answers a new notification with the next of 1, 2, 3... and a replacement with the id
// it replaces, so the ids follow from the calls in order.
QList<NotificationServerFixture::NotifyCall> NotificationServerFixture::notifyCalls() const {
    QList<NotifyCall> calls;
    uint lastNewId = 0;
    for (const QVariantList& arguments : methodCalls(QStringLiteral("Notify"))) {
        if (arguments.size() != 8) {
            qWarning("Notify recorded with %lld arguments", static_cast<long long>(arguments.size()));
            continue;
        }
        NotifyCall call;
        call.appName = arguments[0].toString();
        call.replacesId = arguments[1].toUInt();
        call.appIcon = arguments[2].toString();
        call.summary = arguments[3].toString();
        call.body = arguments[4].toString();
        call.actions = decoded<QStringList>(arguments[5]);
        call.hints = decoded<QVariantMap>(arguments[6]);
        call.expireTimeout = arguments[7].toInt();
        call.id = call.replacesId != 0 ? call.replacesId : ++lastNewId;
        calls << call;
    }
    return calls;
}

void NotificationServerFixture::setCapabilities(const QStringList& capabilities) {
    QStringList quoted;
    for (const QString& capability : capabilities) {
        quoted << QLatin1Char('\'') + capability + QLatin1Char('\'');
    }
    callMock(QStringLiteral("AddMethod"),
             {serverInterface, QStringLiteral("GetCapabilities"), QString(), QStringLiteral("as"),
              QStringLiteral("ret = [") + quoted.join(QLatin1Char(',')) + QLatin1Char(']')});
}

// Notify keeps the template's numbering; the file is read in the server, so what it holds is what
// another process would have found on disk the moment the alert arrived.
void NotificationServerFixture::readFileAtEachNotify(const QString& path) {
    // A JSON string is also a Python string literal.
    const QString literal = QString::fromUtf8(QJsonDocument(QJsonArray{path}).toJson(QJsonDocument::Compact));
    const QString code =
        QStringLiteral("if args[1]:\n"
                       "    ret = args[1]\n"
                       "else:\n"
                       "    ret = self.next_id\n"
                       "    self.next_id += 1\n"
                       "try:\n"
                       "    with open(%1[0], 'rb') as f:\n"
                       "        seen = f.read()\n"
                       "except OSError:\n"
                       "    seen = b''\n"
                       "self.files_at_notify = getattr(self, 'files_at_notify', []) + [seen]\n")
            .arg(literal);
    callMock(QStringLiteral("AddMethod"), {serverInterface, QStringLiteral("Notify"),
                                           QStringLiteral("susssasa{sv}i"), QStringLiteral("u"), code});
    callMock(QStringLiteral("AddMethod"),
             {fixtureInterface, QStringLiteral("FilesAtNotify"), QString(), QStringLiteral("aay"),
              QStringLiteral("ret = getattr(self, 'files_at_notify', [])")});
}

QByteArrayList NotificationServerFixture::fileAtEachNotify() const {
    const QDBusMessage reply = bus().call(QDBusMessage::createMethodCall(
        serviceName, objectPath, fixtureInterface, QStringLiteral("FilesAtNotify")));
    if (reply.type() != QDBusMessage::ReplyMessage) {
        qWarning("FilesAtNotify failed: %s", qPrintable(reply.errorMessage()));
        return {};
    }
    return decoded<QByteArrayList>(reply.arguments().constFirst());
}

void NotificationServerFixture::emitActionInvoked(uint id, const QString& actionKey) {
    emitSignal(QStringLiteral("ActionInvoked"), QStringLiteral("us"), {id, actionKey});
}

void NotificationServerFixture::emitNotificationClosed(uint id, uint reason) {
    emitSignal(QStringLiteral("NotificationClosed"), QStringLiteral("uu"), {id, reason});
}

void NotificationServerFixture::emitSignal(const QString& name, const QString& signature,
                                           const QVariantList& arguments) {
    callMock(QStringLiteral("EmitSignal"),
             {serverInterface, name, signature, QVariant::fromValue(arguments)});
}

void NotificationServerFixture::callMock(const QString& method, const QVariantList& arguments) const {
    QDBusMessage request = QDBusMessage::createMethodCall(serviceName, objectPath, mockInterface, method);
    request.setArguments(arguments);
    const QDBusMessage reply = bus().call(request);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        qWarning("%s failed: %s", qPrintable(method), qPrintable(reply.errorMessage()));
    }
}
