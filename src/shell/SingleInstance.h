#pragma once

#include <QLocalServer>
#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

namespace furrow {

// One planner process per store. The first process listens on a local socket named after the
// store; a later launch hands its arguments to it and relays its answer, instead of opening the
// store a second time. The socket lives in a private folder beside the store, so every process
// of the same store meets it whatever its environment, and both ends talk only to a peer of the
// same user.
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

    // The socket's path: in the folder "run" beside the store, named after a hash of the store
    // path.
    const QString &socketPath() const { return m_socketPath; }

    // Hands the arguments to a running primary and waits for its answer, with the terminal's
    // control characters taken out of its text; none when no primary of this user answers
    // (nothing runs, a process died and left its socket behind, or the folder is not private).
    std::optional<Reply> forward(const QStringList &arguments) const;

    // Becomes the primary; call it while holding the store's lock. Each forwarded command line
    // is passed to the handler, which must call `respond` exactly once, now or later. False,
    // with problem() saying why, when another primary is listening, the socket's folder is not
    // this user's alone, or the socket cannot be opened.
    bool listen(Handler handler);
    const QString &problem() const { return m_problem; }

private:
    void serve(class QLocalSocket *socket);

    QString m_folder;
    QString m_socketPath;
    QString m_problem;
    QLocalServer m_server;
    Handler m_handler;
};

} // namespace furrow
