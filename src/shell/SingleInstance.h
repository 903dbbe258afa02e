#pragma once

#include <QLocalServer>
#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

namespace furrow {

// One planner process per store. The first process listens on a local socket named after the
// store; a later launch hands its arguments to it and relays its answer, instead of opening the
// store a second time.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // What the primary answers to a forwarded command line.
    struct Reply
    {
        int exitCode = 0;
        QString output;      // for standard output
        QString errorOutput; // for standard error
    };
    using Respond = std::function<void(const Reply &)>;
    using Handler = std::function<void(const QStringList &arguments, Respond respond)>;

    explicit SingleInstance(const QString &storePath, QObject *parent = nullptr);
    ~SingleInstance() override;

    // The socket's path: in the user's runtime folder, named after a hash of the store path.
    const QString &socketPath() const { return m_socketPath; }

    // Hands the arguments to a running primary and waits for its answer; none when no primary
    // answers (nothing runs, or a process died and left its socket behind).
    std::optional<Reply> forward(const QStringList &arguments) const;

    // Becomes the primary; call it while holding the store's lock. Each forwarded command line
    // is passed to the handler, which must call `respond` exactly once, now or later. False when
    // another primary is listening.
    bool listen(Handler handler);

private:
    void serve(class QLocalSocket *socket);

    QString m_socketPath;
    QLocalServer m_server;
    Handler m_handler;
};

} // namespace furrow
