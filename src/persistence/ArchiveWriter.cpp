#include "ArchiveWriter.h"

#include "DatedCopies.h"
#include "DebounceThread.h"
#include "PersistenceError.h"
#include "PlannerContainer.h"
#include "PlannerFile.h"
#include "PlannerSnapshot.h"

#include "model/Clock.h"
#include "model/Log.h"
#include "model/ModelContext.h"

#include <QDateTime>

namespace furrow {

ArchiveWriter::ArchiveWriter(QString path, std::chrono::milliseconds delay, QObject *parent)
    : ArchiveWriter(std::move(path), std::make_unique<DebounceThread>(), delay, parent)
{}

ArchiveWriter::ArchiveWriter(QString path, std::unique_ptr<DebounceQueue> queue,
                             std::chrono::milliseconds delay, QObject *parent)
    : QObject(parent)
    , m_path(std::move(path))
    , m_delay(delay)
    , m_queue(std::move(queue))
{}

ArchiveWriter::~ArchiveWriter()
{
    // Stop the worker before the state its items use goes.
    m_queue.reset();
}

ArchiveWriter &ArchiveWriter::shared()
{
    static ArchiveWriter writer(PlannerFile::backupPath());
    static const bool storeSet = (writer.setStorePath(PlannerContainer::defaultStorePath()), true);
    Q_UNUSED(storeSet);
    return writer;
}

void ArchiveWriter::setStorePath(const QString &storePath)
{
    const std::lock_guard lock(m_mutex);
    m_storePath = storePath;
}

void ArchiveWriter::attachTo(ModelContext &context)
{
    connect(&context, &ModelContext::storeSaved, this,
            [this, &context] { scheduleWrite(PlannerSnapshot::snapshot(PlannerStore(context))); });
}

void ArchiveWriter::scheduleWrite(PlannerArchive snapshot)
{
    {
        const std::lock_guard lock(m_mutex);
        m_pending = std::move(snapshot);
    }
    m_queue->schedule(m_delay, [this] { writePending(); });
}

bool ArchiveWriter::flush(std::chrono::milliseconds timeout)
{
    bool pending = false;
    {
        const std::lock_guard lock(m_mutex);
        pending = m_pending.has_value();
    }
    if (pending)
        m_queue->schedule(std::chrono::milliseconds(0), [this] { writePending(); });
    return m_queue->waitIdle(timeout);
}

void ArchiveWriter::writePending()
{
    std::optional<PlannerArchive> snapshot;
    QString storePath;
    {
        const std::lock_guard lock(m_mutex);
        snapshot.swap(m_pending);
        storePath = m_storePath;
    }
    if (!snapshot)
        return;
    DatedCopies::keepBeforeReplacing(m_path, storePath, toLocalDateTime(Clock::now()).date());
    writeNow(*snapshot);
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
