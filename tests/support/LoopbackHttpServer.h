#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QUrl>

#include <chrono>
#include <optional>

class QTcpSocket;

namespace Metaloom::Testing {

// A tiny HTTP/1.1 server on 127.0.0.1 with a port of the system's choosing,
// answering each path with a scripted response. Tests use it in place of the
// network: feeds, icons, update casts. Every connection is closed after one
// answer, so each request is counted.
class LoopbackHttpServer : public QObject {
    Q_OBJECT

public:
    struct Response {
        int status = 200;
        QByteArray reason = "OK";
        QList<QPair<QByteArray, QByteArray>> headers;
        QByteArray body;
        // Wait this long before answering (a slow server).
        std::chrono::milliseconds delay{0};
        // Announce the whole body but send only this many bytes of it, then
        // hang up (a connection lost mid-transfer).
        std::optional<qsizetype> truncateAfter;
        // Send the body in pieces of this many bytes, one every pieceInterval
        // (a server that trickles); 0 sends it in one go.
        qsizetype pieceSize = 0;
        std::chrono::milliseconds pieceInterval{0};
        // Send the body over and over without announcing a length: a body
        // that never ends.
        bool endless = false;

        static Response json(const QByteArray &body);
        static Response withStatus(int status, const QByteArray &reason,
                                   const QByteArray &contentType, const QByteArray &body);
        static Response bytes(const QByteArray &contentType, const QByteArray &body);
    };

    explicit LoopbackHttpServer(QObject *parent = nullptr);
    ~LoopbackHttpServer() override;

    quint16 port() const { return m_server.serverPort(); }
    // http://127.0.0.1:<port><path>
    QUrl url(const QString &path) const;

    // Paths without a response get 404.
    void setResponse(const QString &path, const Response &response);

    int requestCount() const { return static_cast<int>(m_requestedPaths.size()); }
    int requestCount(const QString &path) const;
    QStringList requestedPaths() const { return m_requestedPaths; }

    // Stops listening and drops open connections: later requests are refused.
    void close();

Q_SIGNALS:
    void requestReceived(const QString &path);

private:
    void accept();
    void readRequest(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const QString &path);
    void sendInPieces(QTcpSocket *socket, const Response &response);

    QTcpServer m_server;
    QHash<QString, Response> m_responses;
    QHash<QTcpSocket *, QByteArray> m_pending;
    QStringList m_requestedPaths;
};

} // namespace Metaloom::Testing
