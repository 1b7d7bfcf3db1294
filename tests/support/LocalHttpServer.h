#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

// A tiny HTTP/1.1 server on 127.0.0.1 with a fixed answer per path, for tests of code that
// fetches over the network. Listens from construction until destruction; unknown paths get 404.
class LocalHttpServer : public QObject {
    Q_OBJECT

public:
    enum class Behaviour {
        Answer,  // the whole answer at once
        Silent,  // reads the request and never answers
        Trickle, // the headers, then one byte of the body every trickleInterval
    };

    struct Response {
        int status = 200;
        QByteArray body;
        QList<QPair<QByteArray, QByteArray>> headers;
        Behaviour behaviour = Behaviour::Answer;
    };

    static constexpr int trickleIntervalMs = 20;

    explicit LocalHttpServer(QObject* parent = nullptr);

    QUrl url(const QString& path) const;
    void setResponse(const QString& path, Response response);
    int requestCount(const QString& path) const { return m_requestCounts.value(path); }
    // Connections a client still holds open, answered or not.
    int openConnections() const { return m_openConnections; }

    static Response ok(QByteArray body);
    static Response redirect(const QString& location);

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket* socket);
    void respond(QTcpSocket* socket, const QString& path);
    static void trickle(QTcpSocket* socket, const QByteArray& body);

    QTcpServer m_server;
    QHash<QString, Response> m_responses;
    QHash<QString, int> m_requestCounts;
    int m_openConnections = 0;
};
