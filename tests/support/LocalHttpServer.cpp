#include "LocalHttpServer.h"

#include <QTcpSocket>
#include <QTimer>

namespace {

const char* const requestBufferProperty = "zentrelRequest";

QByteArray reasonPhrase(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 302:
        return "Found";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

QByteArray head(const LocalHttpServer::Response& response) {
    QByteArray text =
        "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reasonPhrase(response.status) +
        "\r\nContent-Length: " + QByteArray::number(response.body.size()) + "\r\nConnection: close\r\n";
    for (const auto& [name, value] : response.headers) {
        text += name + ": " + value + "\r\n";
    }
    return text + "\r\n";
}

// "GET /feed.xml HTTP/1.1" -> "/feed.xml"
QString requestPath(const QByteArray& request) {
    const QList<QByteArray> words = request.left(request.indexOf("\r\n")).split(' ');
    return words.size() >= 2 ? QString::fromLatin1(words[1]) : QString();
}

} // namespace

LocalHttpServer::LocalHttpServer(QObject* parent)
    : QObject(parent) {
    connect(&m_server, &QTcpServer::newConnection, this, &LocalHttpServer::onNewConnection);
    m_server.listen(QHostAddress::LocalHost);
}

QUrl LocalHttpServer::url(const QString& path) const {
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(m_server.serverPort());
    url.setPath(path);
    return url;
}

void LocalHttpServer::setResponse(const QString& path, Response response) {
    m_responses.insert(path, std::move(response));
}

LocalHttpServer::Response LocalHttpServer::ok(QByteArray body) {
    Response response;
    response.body = std::move(body);
    response.headers.append(qMakePair(QByteArray("Content-Type"), QByteArray("application/rss+xml")));
    return response;
}

LocalHttpServer::Response LocalHttpServer::redirect(const QString& location) {
    Response response;
    response.status = 302;
    response.headers.append(qMakePair(QByteArray("Location"), location.toUtf8()));
    return response;
}

void LocalHttpServer::onNewConnection() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        ++m_openConnections;
        connect(socket, &QObject::destroyed, this, [this] { --m_openConnections; });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
    }
}

void LocalHttpServer::onReadyRead(QTcpSocket* socket) {
    const QByteArray request = socket->property(requestBufferProperty).toByteArray() + socket->readAll();
    socket->setProperty(requestBufferProperty, request);
    if (request.contains("\r\n\r\n")) {
        disconnect(socket, &QTcpSocket::readyRead, this, nullptr);
        respond(socket, requestPath(request));
    }
}

void LocalHttpServer::respond(QTcpSocket* socket, const QString& path) {
    ++m_requestCounts[path];
    Response response = m_responses.value(path);
    if (!m_responses.contains(path)) {
        response.status = 404;
    }
    switch (response.behaviour) {
    case Behaviour::Silent:
        return;
    case Behaviour::Trickle:
        socket->write(head(response));
        trickle(socket, response.body);
        return;
    case Behaviour::Answer:
        socket->write(head(response) + response.body);
        socket->disconnectFromHost();
        return;
    }
}

// The timer belongs to the socket, so a client that gives up ends the trickle too.
void LocalHttpServer::trickle(QTcpSocket* socket, const QByteArray& body) {
    auto* timer = new QTimer(socket);
    timer->setInterval(trickleIntervalMs);
    connect(timer, &QTimer::timeout, socket, [socket, timer, body, sent = qsizetype(0)]() mutable {
        if (sent == body.size()) {
            timer->stop();
            socket->disconnectFromHost();
            return;
        }
        socket->write(body.mid(sent++, 1));
    });
    timer->start();
}
