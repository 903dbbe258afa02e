#include "PlannerContainer.h"

#include "model/Clock.h"
#include "model/Log.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace furrow {

namespace {

std::unique_ptr<QLockFile> lockStore(const QString &storePath)
{
    auto lock = std::make_unique<QLockFile>(storePath + QStringLiteral(".lock"));
    // A lock left by a process that died is recognised by its process id, never by age.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return lock;
    qint64 pid = 0;
    QString host;
    QString application;
    lock->getLockInfo(&pid, &host, &application);
    if (lock->error() == QLockFile::LockFailedError)
        throw StoreInUseError(
            QStringLiteral("хранилище занято другим процессом Furrow (pid %1)").arg(pid));
    throw StoreInUseError(QStringLiteral("не удалось заблокировать хранилище %1").arg(storePath));
}

} // namespace

QString PlannerContainer::defaultStorePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/Furrow/furrow.store");
}

std::unique_ptr<PlannerContainer> PlannerContainer::open(const QString &storePath)
{
    QDir().mkpath(QFileInfo(storePath).path());
    std::unique_ptr<PlannerContainer> container(
        new PlannerContainer(storePath, lockStore(storePath)));
    QString error;
    if (container->tryOpen(&error))
        return container;
    container->moveAside(error);
    if (container->tryOpen(&error))
        return container;
    throw FatalStoreError(
        (QStringLiteral("Furrow: не удалось открыть даже чистую базу — ") + error).toStdString());
}

PlannerContainer::PlannerContainer(const QString &storePath, std::unique_ptr<QLockFile> lock)
    : m_storePath(storePath)
    , m_lock(std::move(lock))
{}

PlannerContainer::~PlannerContainer()
{
    // The context refers to the store; it goes first.
    m_context.reset();
    m_store.reset();
}

bool PlannerContainer::tryOpen(QString *error)
{
    try {
        auto store = std::make_unique<SqliteStore>(m_storePath);
        auto context = std::make_unique<ModelContext>();
        store->loadInto(*context);
        context->setBackend(store.get());
        m_store = std::move(store);
        m_context = std::move(context);
        return true;
    } catch (const StoreError &failure) {
        *error = failure.description();
        return false;
    }
}

void PlannerContainer::moveAside(const QString &error)
{
    const qint64 seconds = microsecondsSinceEpoch(Clock::now()) / 1000000;
    m_opening = Opening::SetAside;
    m_asideSuffix = QStringLiteral(".backup-") + QString::number(seconds);
    const QString target = m_storePath + m_asideSuffix;
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::rename(m_storePath + suffix, target + suffix);
    logLine(QStringLiteral("миграция не прошла (") + error
            + QStringLiteral("). Старая база отодвинута в ") + target);
}

} // namespace furrow
