#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>

namespace furrow {

namespace {

constexpr int kConnectTimeoutMs = 1000;
// A forwarded sync waits for the network; the primary answers within its own time-outs.
constexpr int kReplyTimeoutMs = 10 * 60 * 1000;
// Forwarded command lines are short; anything longer is not one of ours.
constexpr qint64 kMaxMessageBytes = 1 << 20;

QByteArray encodeLine(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<QJsonObject> readLine(QLocalSocket &socket, int timeoutMs)
{
    while (!socket.canReadLine()) {
        if (socket.bytesAvailable() > kMaxMessageBytes || !socket.waitForReadyRead(timeoutMs))
            return std::nullopt;
    }
    const QJsonDocument document = QJsonDocument::fromJson(socket.readLine());
    if (!document.isObject())
        return std::nullopt;
    return document.object();
}

} // namespace

SingleInstance::SingleInstance(const QString &storePath, QObject *parent)
    : QObject(parent)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    const QByteArray hash
        = QCryptographicHash::hash(QDir::cleanPath(storePath).toUtf8(), QCryptographicHash::Sha256);
    m_socketPath = folder + QStringLiteral("/furrow-") + QString::fromLatin1(hash.toHex().left(16))
                   + QStringLiteral(".sock");
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server.nextPendingConnection())
            serve(socket);
    });
}

SingleInstance::~SingleInstance() = default;

std::optional<SingleInstance::Reply> SingleInstance::forward(const QStringList &arguments) const
{
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return std::nullopt;
    socket.write(
        encodeLine({{QStringLiteral("arguments"), QJsonArray::fromStringList(arguments)}}));
    if (!socket.waitForBytesWritten(kConnectTimeoutMs))
        return std::nullopt;
    const auto answer = readLine(socket, kReplyTimeoutMs);
    if (!answer)
        return std::nullopt;
    return Reply{answer->value(QStringLiteral("exit")).toInt(1),
                 answer->value(QStringLiteral("out")).toString(),
                 answer->value(QStringLiteral("err")).toString()};
}

bool SingleInstance::listen(Handler handler)
{
    // Listening replaces whatever socket file is in the way, so first ask whether a primary
    // answers on it; a file nobody answers on was left by a process that died. Callers hold
    // the store's lock, so two processes never get here at once.
    QLocalSocket probe;
    probe.connectToServer(m_socketPath);
    if (probe.waitForConnected(kConnectTimeoutMs))
        return false;
    m_handler = std::move(handler);
    QLocalServer::removeServer(m_socketPath);
    return m_server.listen(m_socketPath);
}

void SingleInstance::serve(QLocalSocket *socket)
{
    socket->setParent(this);
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        if (!socket->canReadLine()) {
            if (socket->bytesAvailable() > kMaxMessageBytes)
                socket->abort();
            return;
        }
        disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
        const QJsonDocument request = QJsonDocument::fromJson(socket->readLine());
        QStringList arguments;
        for (const QJsonValue &value :
             request.object().value(QStringLiteral("arguments")).toArray())
            arguments.append(value.toString());
        QPointer<QLocalSocket> guarded(socket);
        m_handler(arguments, [guarded](const Reply &reply) {
            if (!guarded)
                return;
            guarded->write(encodeLine({{QStringLiteral("exit"), reply.exitCode},
                                       {QStringLiteral("out"), reply.output},
                                       {QStringLiteral("err"), reply.errorOutput}}));
            guarded->disconnectFromServer();
        });
    });
}

} // namespace furrow
