#include "SingleInstance.h"

#include "PrivateFolder.h"

#include "model/Log.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QPointer>

#include <mutex>
#include <sys/socket.h>
#include <unistd.h>

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

// Whether the process at the other end of the connection runs as this user. Any other user's
// process is dropped: it must neither read our command lines nor answer them.
bool isSameUser(const QLocalSocket &socket)
{
    struct ucred credentials = {};
    socklen_t length = sizeof credentials;
    return ::getsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &credentials,
                        &length)
               == 0
           && credentials.uid == ::geteuid();
}

// The primary's text goes to a terminal, where escape sequences could rewrite the screen or
// the window's title; only line breaks and tabs of the control characters are kept.
QString withoutControls(QString text)
{
    text.removeIf(
        [](QChar c) { return c.category() == QChar::Other_Control && c != u'\n' && c != u'\t'; });
    return text;
}

// A launch asks a planner that is still starting several times; one line per problem is enough.
void tellOnce(const QString &problem)
{
    static std::mutex mutex;
    static QString told;
    const std::lock_guard lock(mutex);
    if (told == problem)
        return;
    told = problem;
    logLine(QStringLiteral("команда не передана работающему планировщику — ") + problem);
}

} // namespace

SingleInstance::SingleInstance(const QString &storePath, QObject *parent)
    : QObject(parent)
{
    // Beside the store rather than in a runtime folder, which some sessions (cron, su, ssh)
    // lack or name differently: the path depends on the store alone.
    const QString store = QDir::cleanPath(QFileInfo(storePath).absoluteFilePath());
    m_folder = QFileInfo(store).path() + QStringLiteral("/run");
    const QByteArray hash = QCryptographicHash::hash(store.toUtf8(), QCryptographicHash::Sha256);
    m_socketPath = m_folder + QStringLiteral("/furrow-")
                   + QString::fromLatin1(hash.toHex().left(16)) + QStringLiteral(".sock");
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server.nextPendingConnection())
            serve(socket);
    });
}

SingleInstance::~SingleInstance() = default;

std::optional<SingleInstance::Reply> SingleInstance::forward(const QStringList &arguments) const
{
    QString problem;
    const PrivateFolder::State folder = PrivateFolder::check(m_folder, &problem);
    if (folder == PrivateFolder::State::Unsafe)
        tellOnce(problem);
    if (folder != PrivateFolder::State::Private)
        return std::nullopt;
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return std::nullopt;
    if (!isSameUser(socket)) {
        tellOnce(QStringLiteral("на сокете «%1» отвечает процесс другого пользователя")
                     .arg(m_socketPath));
        return std::nullopt;
    }
    socket.write(
        encodeLine({{QStringLiteral("arguments"), QJsonArray::fromStringList(arguments)}}));
    if (!socket.waitForBytesWritten(kConnectTimeoutMs))
        return std::nullopt;
    const auto answer = readLine(socket, kReplyTimeoutMs);
    if (!answer)
        return std::nullopt;
    return Reply{answer->value(QStringLiteral("exit")).toInt(1),
                 withoutControls(answer->value(QStringLiteral("out")).toString()),
                 withoutControls(answer->value(QStringLiteral("err")).toString())};
}

bool SingleInstance::listen(Handler handler)
{
    // Listening replaces whatever socket file is in the way, so first ask whether a primary
    // answers on it; a file nobody answers on was left by a process that died. Callers hold
    // the store's lock, so two processes never get here at once.
    if (PrivateFolder::prepare(m_folder, &m_problem) != PrivateFolder::State::Private)
        return false;
    QLocalSocket probe;
    probe.connectToServer(m_socketPath);
    if (probe.waitForConnected(kConnectTimeoutMs)) {
        m_problem = QStringLiteral("на сокете «%1» уже отвечает другой процесс").arg(m_socketPath);
        return false;
    }
    m_handler = std::move(handler);
    QLocalServer::removeServer(m_socketPath);
    if (!m_server.listen(m_socketPath)) {
        m_problem = QStringLiteral("не удалось открыть сокет «%1»: %2")
                        .arg(m_socketPath, m_server.errorString());
        return false;
    }
    return true;
}

void SingleInstance::serve(QLocalSocket *socket)
{
    socket->setParent(this);
    if (!isSameUser(*socket)) {
        logLine(QStringLiteral("отклонено подключение процесса другого пользователя"));
        socket->abort();
        socket->deleteLater();
        return;
    }
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
