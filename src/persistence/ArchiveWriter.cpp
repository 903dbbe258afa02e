#include "ArchiveWriter.h"

#include "PersistenceError.h"
#include "PlannerFile.h"
#include "PlannerSnapshot.h"

#include "model/Log.h"
#include "model/ModelContext.h"

namespace furrow {

ArchiveWriter::ArchiveWriter(QString path, std::chrono::milliseconds delay, QObject *parent)
    : QObject(parent)
    , m_path(std::move(path))
    , m_delay(delay)
    , m_worker([this] { run(); })
{}

ArchiveWriter::~ArchiveWriter()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_worker.join();
}

ArchiveWriter &ArchiveWriter::shared()
{
    static ArchiveWriter writer(PlannerFile::backupPath());
    return writer;
}

void ArchiveWriter::attachTo(ModelContext &context)
{
    connect(&context, &ModelContext::storeSaved, this,
            [this, &context] { scheduleWrite(PlannerSnapshot::snapshot(PlannerStore(context))); });
}

void ArchiveWriter::scheduleWrite(PlannerArchive snapshot)
{
    {
        std::lock_guard lock(m_mutex);
        m_pending = std::move(snapshot);
        m_due = SteadyClock::now() + m_delay;
    }
    m_wake.notify_all();
}

bool ArchiveWriter::flush(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    if (m_pending)
        m_due = SteadyClock::now();
    m_wake.notify_all();
    return m_idle.wait_for(lock, timeout, [this] { return !m_pending && !m_writing; });
}

void ArchiveWriter::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || m_pending; });
        if (m_stopping)
            return;
        // A later scheduleWrite moves the due time; wait again until it holds still.
        if (SteadyClock::now() < m_due) {
            m_wake.wait_until(lock, m_due);
            continue;
        }
        const PlannerArchive snapshot = std::move(*m_pending);
        m_pending.reset();
        m_writing = true;
        lock.unlock();
        writeNow(snapshot);
        lock.lock();
        m_writing = false;
        m_idle.notify_all();
    }
}

void ArchiveWriter::writeNow(const PlannerArchive &snapshot)
{
    bool succeeded = true;
    try {
        PlannerFile::write(snapshot, m_path);
    } catch (const PersistenceError &error) {
        succeeded = false;
        logLine(QStringLiteral("не удалось записать резервную копию — ") + error.description());
    } catch (const std::exception &error) {
        succeeded = false;
        logLine(QStringLiteral("не удалось записать резервную копию — ")
                + QString::fromLocal8Bit(error.what()));
    }
    Q_EMIT writeFinished(succeeded);
}

} // namespace furrow
