#pragma once

#include <QByteArray>
#include <QMap>
#include <QTcpServer>

#include <chrono>
#include <deque>
#include <vector>

class QTcpSocket;

namespace furrow::test {

// A small HTTP/1.1 server on the loopback interface that answers each request with the next
// scripted reply (or a default one) and remembers what it was sent.
class TestHttpServer : public QObject
{
    Q_OBJECT

public:
    struct Reply
    {
        int status = 200;
        QByteArray body;
        std::chrono::milliseconds delay{0};
        bool hangUp = false; // close the connection without answering
    };
    struct Request
    {
        QByteArray method;
        QByteArray path;
        QMap<QByteArray, QByteArray> headers; // names in lower case
        QByteArray body;
    };

    explicit TestHttpServer(QObject *parent = nullptr);

    quint16 port() const { return m_server.serverPort(); }
    QString url(const QString &path = QStringLiteral("/v1/sync")) const;

    void enqueue(Reply reply) { m_replies.push_back(std::move(reply)); }
    void setDefaultReply(Reply reply) { m_defaultReply = std::move(reply); }
    const std::vector<Request> &requests() const { return m_requests; }

Q_SIGNALS:
    void requestReceived();

private:
    void accept();
    void read(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const Reply &reply);

    QTcpServer m_server;
    std::deque<Reply> m_replies;
    Reply m_defaultReply;
    std::vector<Request> m_requests;
};

} // namespace furrow::test
