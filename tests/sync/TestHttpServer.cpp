#include "TestHttpServer.h"

#include <QTcpSocket>
#include <QTimer>

#include <cctype>
#include <optional>

namespace furrow::test {

namespace {

std::optional<TestHttpServer::Request> parseRequest(const QByteArray &data)
{
    const qsizetype headerEnd = data.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return std::nullopt;
    const QList<QByteArray> lines = data.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.first().trimmed().split(' ');
    TestHttpServer::Request request;
    request.method = requestLine.value(0);
    request.path = requestLine.value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.insert(lines[i].left(colon).trimmed().toLower(),
                                   lines[i].mid(colon + 1).trimmed());
    }
    const qsizetype length = request.headers.value("content-length", "0").toLongLong();
    if (data.size() < headerEnd + 4 + length)
        return std::nullopt;
    request.body = data.mid(headerEnd + 4, length);
    return request;
}

} // namespace

TestHttpServer::TestHttpServer(QObject *parent)
    : QObject(parent)
{
    m_defaultReply.body = R"({"seq":0,"accepted":0,"more":false,"changes":[]})";
    connect(&m_server, &QTcpServer::newConnection, this, &TestHttpServer::accept);
    m_server.listen(QHostAddress::LocalHost);
}

QString TestHttpServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
}

void TestHttpServer::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void TestHttpServer::read(QTcpSocket *socket)
{
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    socket->setProperty("buffer", buffer);
    // Like a plain HTTP server, refuse what is not HTTP at all (a TLS handshake, say).
    if (!buffer.isEmpty() && !std::isupper(static_cast<unsigned char>(buffer[0]))) {
        socket->write("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
        return;
    }
    const auto request = parseRequest(buffer);
    if (!request)
        return;
    socket->setProperty("buffer", QByteArray());
    m_requests.push_back(*request);
    Reply reply = m_defaultReply;
    if (!m_replies.empty()) {
        reply = std::move(m_replies.front());
        m_replies.pop_front();
    }
    QTimer::singleShot(reply.delay, socket, [this, socket, reply] { answer(socket, reply); });
    Q_EMIT requestReceived();
}

void TestHttpServer::answer(QTcpSocket *socket, const Reply &reply)
{
    if (!reply.hangUp) {
        QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + " Scripted\r\n";
        head += "Content-Type: application/json\r\n";
        head += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
        head += "Connection: close\r\n\r\n";
        socket->write(head + reply.body);
    }
    socket->disconnectFromHost();
}

} // namespace furrow::test
