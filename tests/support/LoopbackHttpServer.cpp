#include "LoopbackHttpServer.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

namespace Metaloom::Testing {

LoopbackHttpServer::Response LoopbackHttpServer::Response::json(const QByteArray &body)
{
    return bytes("application/json", body);
}

LoopbackHttpServer::Response LoopbackHttpServer::Response::withStatus(int status,
                                                                      const QByteArray &reason,
                                                                      const QByteArray &contentType,
                                                                      const QByteArray &body)
{
    Response response = bytes(contentType, body);
    response.status = status;
    response.reason = reason;
    return response;
}

LoopbackHttpServer::Response LoopbackHttpServer::Response::bytes(const QByteArray &contentType,
                                                                 const QByteArray &body)
{
    Response response;
    response.headers.append({"Content-Type", contentType});
    response.body = body;
    return response;
}

LoopbackHttpServer::LoopbackHttpServer(QObject *parent) : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &LoopbackHttpServer::accept);
    if (!m_server.listen(QHostAddress::LocalHost, 0))
        qFatal("the loopback HTTP server cannot listen: %s", qPrintable(m_server.errorString()));
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    close();
}

QUrl LoopbackHttpServer::url(const QString &path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path));
}

void LoopbackHttpServer::setResponse(const QString &path, const Response &response)
{
    m_responses.insert(path, response);
}

int LoopbackHttpServer::requestCount(const QString &path) const
{
    return static_cast<int>(m_requestedPaths.count(path));
}

void LoopbackHttpServer::close()
{
    m_server.close();
    const auto sockets = m_pending.keys();
    m_pending.clear();
    for (QTcpSocket *socket : sockets) {
        socket->abort();
        socket->deleteLater();
    }
}

void LoopbackHttpServer::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        m_pending.insert(socket, QByteArray());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_pending.remove(socket);
            socket->deleteLater();
        });
    }
}

void LoopbackHttpServer::readRequest(QTcpSocket *socket)
{
    auto it = m_pending.find(socket);
    if (it == m_pending.end())
        return;
    it->append(socket->readAll());
    const qsizetype headerEnd = it->indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return;
    // "GET /path?query HTTP/1.1": the path without its query names the answer.
    const QList<QByteArray> requestLine = it->left(it->indexOf("\r\n")).split(' ');
    it->clear();
    QString path = requestLine.size() >= 2 ? QString::fromLatin1(requestLine.at(1)) : QString();
    path = path.section(u'?', 0, 0);
    m_requestedPaths.append(path);
    Q_EMIT requestReceived(path);

    const Response response = m_responses.value(path);
    if (response.delay.count() > 0)
        QTimer::singleShot(response.delay, socket, [this, socket, path] { answer(socket, path); });
    else
        answer(socket, path);
}

void LoopbackHttpServer::answer(QTcpSocket *socket, const QString &path)
{
    if (socket->state() != QAbstractSocket::ConnectedState)
        return;
    Response response;
    if (m_responses.contains(path))
        response = m_responses.value(path);
    else
        response = Response::withStatus(404, "Not Found", "text/plain", "not found");

    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + response.reason +
                      "\r\nConnection: close\r\n";
    if (!response.endless)
        head += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    for (const auto &[name, value] : response.headers)
        head += name + ": " + value + "\r\n";
    head += "\r\n";
    socket->write(head);
    if (response.pieceSize > 0 || response.endless) {
        sendInPieces(socket, response);
        return;
    }
    socket->write(response.truncateAfter ? response.body.left(*response.truncateAfter)
                                         : response.body);
    socket->disconnectFromHost();
}

void LoopbackHttpServer::sendInPieces(QTcpSocket *socket, const Response &response)
{
    const qsizetype pieceSize = response.pieceSize > 0 ? response.pieceSize : response.body.size();
    auto *timer = new QTimer(socket);
    timer->setInterval(response.pieceInterval);
    connect(timer, &QTimer::timeout, socket,
            [socket, timer, response, pieceSize, sent = qsizetype(0)]() mutable {
                if (socket->state() != QAbstractSocket::ConnectedState) {
                    timer->stop();
                    return;
                }
                socket->write(response.body.mid(sent % response.body.size(), pieceSize));
                sent += pieceSize;
                if (!response.endless && sent >= response.body.size()) {
                    timer->stop();
                    socket->disconnectFromHost();
                }
            });
    timer->start();
}

} // namespace Metaloom::Testing
