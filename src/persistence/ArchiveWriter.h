#pragma once

#include "DebounceQueue.h"
#include "PlannerArchive.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>

namespace furrow {

class ModelContext;

// Writes the newest snapshot handed to it to the backup file, on a worker thread of its own,
// once saves have paused for the delay (2 seconds): a burst of saves costs one write. Encoding
// and writing happen on the worker; the main thread only hands over the snapshot. The first
// write of a day keeps the day's dated copies first.
class ArchiveWriter : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kDelay{2000};
    static constexpr std::chrono::milliseconds kQuitWait{5000};

    explicit ArchiveWriter(QString path, std::chrono::milliseconds delay = kDelay,
                           QObject *parent = nullptr);
    // Runs the writes on `queue` instead of a worker thread of its own.
    ArchiveWriter(QString path, std::unique_ptr<DebounceQueue> queue,
                  std::chrono::milliseconds delay = kDelay, QObject *parent = nullptr);
    // Stops the worker after a write in progress; a pending snapshot is dropped (see flush()).
    ~ArchiveWriter() override;

    // The writer of the backup file at PlannerFile::backupPath(), created on first use.
    static ArchiveWriter &shared();

    // The store copied with each dated copy; none is copied until it is set. Main thread,
    // before the first write.
    void setStorePath(const QString &storePath);

    // Hands every successful PlannerStore::save() on this context a fresh snapshot.
    void attachTo(ModelContext &context);

    // Keeps the snapshot as the one to write and restarts the delay. Main thread.
    void scheduleWrite(PlannerArchive snapshot);
    // Writes the pending snapshot now and waits up to `timeout` for the worker to go idle; for
    // quitting, so that a change saved just before the quit reaches the file. Answers whether
    // everything handed over was written (or failed and was logged) in time.
    bool flush(std::chrono::milliseconds timeout = kQuitWait);

    QString path() const { return m_path; }

Q_SIGNALS:
    // One write finished (or failed and was logged); emitted on the worker thread.
    void writeFinished(bool succeeded);

private:
    // The scheduled work item: takes the pending snapshot, if any, and writes it.
    void writePending();
    void writeNow(const PlannerArchive &snapshot);

    const QString m_path;
    const std::chrono::milliseconds m_delay;

    std::mutex m_mutex; // guards m_pending, handed from the main thread to the worker
    std::optional<PlannerArchive> m_pending;
    QString m_storePath; // guarded by m_mutex too

    std::unique_ptr<DebounceQueue> m_queue; // last: its items use the members above
};

} // namespace furrow
