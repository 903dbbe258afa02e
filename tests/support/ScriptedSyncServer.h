#pragma once

#include "sync/wire/SyncRequest.h"
#include "sync/wire/SyncResponse.h"
#include "sync/wire/SyncWireError.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <chrono>
#include <deque>
#include <vector>

namespace furrow {

// A small HTTP/1.1 sync server on the loopback interface: answers each request with the next
// scripted reply, or the fallback, after the reply's delay (or not before release() while
// `holding`), and keeps what it was sent.
struct ScriptedSyncServer
{
    struct Reply
    {
        // After the head, a stream never ends: large chunks as fast as they are taken, or one
        // byte every `interval`.
        enum class Stream { None, Flood, Drip };

        int status = 200;
        QByteArray body{};
        std::chrono::milliseconds delay{0};
        QByteArray extraHead{}; // header lines, each ending in CR LF
        Stream stream = Stream::None;
        std::chrono::milliseconds interval{0};
    };

    ScriptedSyncServer()
    {
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this] {
            while (QTcpSocket *socket = server.nextPendingConnection()) {
                ++connections;
                QObject::connect(socket, &QTcpSocket::readyRead, socket,
                                 [=, this] { read(*socket); });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        server.listen(QHostAddress::LocalHost);
        url = QStringLiteral("http://127.0.0.1:%1/v1/sync").arg(server.serverPort());
    }

    void read(QTcpSocket &socket)
    {
        const QByteArray data = socket.peek(socket.bytesAvailable());
        const qsizetype end = data.indexOf("\r\n\r\n");
        try {
            sent.push_back(SyncRequest::decode(data.mid(end + 4)));
        } catch (const SyncWireError &) {
            return; // the rest is still on its way
        }
        heads.push_back(socket.readAll().left(end).toLower());
        const Reply reply = replies.empty() ? fallback : replies.front();
        if (!replies.empty())
            replies.pop_front();
        if (holding)
            held.push_back({&socket, reply});
        else
            QTimer::singleShot(reply.delay, &socket, [&socket, reply] { answer(socket, reply); });
    }

    void release()
    {
        holding = false;
        for (const auto &[socket, reply] : std::exchange(held, {}))
            answer(*socket, reply);
    }

    static void answer(QTcpSocket &socket, const Reply &reply)
    {
        const QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status)
                                + " Scripted\r\nContent-Type: application/json\r\n"
                                + reply.extraHead + "Connection: close\r\n";
        if (reply.stream == Reply::Stream::None) {
            socket.write(head + "Content-Length: " + QByteArray::number(reply.body.size())
                         + "\r\n\r\n" + reply.body);
            socket.disconnectFromHost();
            return;
        }
        // Without a length the body lasts until the connection closes, which it never does.
        socket.write(head + "\r\n");
        if (reply.stream == Reply::Stream::Drip) {
            auto *drip = new QTimer(&socket);
            drip->callOnTimeout(&socket, [&socket] { socket.write(" "); });
            drip->start(reply.interval);
            return;
        }
        // Refilled as the client takes it, so the flood never outruns the reader.
        const QByteArray chunk(0x10000, ' ');
        QObject::connect(&socket, &QTcpSocket::bytesWritten, &socket, [&socket, chunk] {
            if (socket.bytesToWrite() < chunk.size())
                socket.write(chunk);
        });
        socket.write(chunk);
    }

    QTcpServer server;
    QString url;
    std::deque<Reply> replies;
    Reply fallback{200, SyncResponse{0, 0, false, {}}.encode()};
    bool holding = false;
    std::vector<std::pair<QTcpSocket *, Reply>> held;
    int connections = 0;
    std::vector<QByteArray> heads; // in lower case
    std::vector<SyncRequest> sent;
};

} // namespace furrow
