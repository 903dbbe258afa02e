#include "PlannerContainer.h"

#include "PersistenceError.h"
#include "PlannerFile.h"

#include "model/Clock.h"
#include "model/Log.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// SQLite creates a missing file with the usual permissions under the umask, and its -wal and -shm
// files with the store's own; creating the store first makes all three the owner's alone.
void createPrivately(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0)
        return; // it exists, or SQLite reports why it cannot be made
    ::fchmod(fd, S_IRUSR | S_IWUSR);
    ::close(fd);
}

// A copy worth trying: a non-empty SQLite file (an empty one would open as a new, empty store).
bool looksLikeStore(const QString &path, QString *error)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && file.read(16) == QByteArray("SQLite format 3", 16))
        return true;
    *error = QStringLiteral("не файл SQLite");
    return false;
}

const QString kStoreSuffixes[] = {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")};

// The store's files that do not exist yet.
QStringList missingFiles(const QString &storePath)
{
    QStringList missing;
    for (const QString &suffix : kStoreSuffixes) {
        if (!QFileInfo::exists(storePath + suffix))
            missing.append(storePath + suffix);
    }
    return missing;
}

} // namespace

QString PlannerContainer::defaultStorePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/Furrow/furrow.store");
}

std::unique_ptr<PlannerContainer> PlannerContainer::open(const QString &storePath)
{
    PlannerFile::makePrivateFolder(QFileInfo(storePath).path());
    std::unique_ptr<PlannerContainer> container(
        new PlannerContainer(storePath, lockStore(storePath)));
    container->readRecoveryMark();
    const QStringList missing = missingFiles(storePath);
    std::optional<StoreError> failure = container->openFile();
    if (!failure)
        return container;
    if (!failure->isDamaged())
        container->refuse(failure->description(), missing);
    container->moveAside(failure->description());
    failure = container->openFile();
    if (!failure)
        return container;
    throw FatalStoreError(
        (QStringLiteral("Furrow: не удалось открыть даже чистую базу — ") + failure->description())
            .toStdString());
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

std::optional<StoreError> PlannerContainer::openFile()
{
    try {
        createPrivately(m_storePath);
        auto store = std::make_unique<SqliteStore>(m_storePath);
        auto context = std::make_unique<ModelContext>();
        store->loadInto(*context);
        context->setBackend(store.get());
        m_store = std::move(store);
        m_context = std::move(context);
        return std::nullopt;
    } catch (const StoreError &failure) {
        return failure;
    }
}

bool PlannerContainer::tryOpen(QString *error)
{
    const std::optional<StoreError> failure = openFile();
    if (failure)
        *error = failure->description();
    return !failure;
}

void PlannerContainer::refuse(const QString &reason, const QStringList &missing)
{
    // Only what this attempt made is taken away again; the user's files stay as they were.
    for (const QString &path : missing)
        QFile::remove(path);
    logLine(QStringLiteral("не удалось открыть хранилище, файлы не тронуты — ") + reason);
    throw StoreUnavailableError(reason);
}

QString PlannerContainer::recoveryMarkPath() const
{
    return m_storePath + QStringLiteral(".recovering");
}

void PlannerContainer::readRecoveryMark()
{
    QFile mark(recoveryMarkPath());
    if (!mark.exists())
        return;
    m_opening = Opening::RecoveryUnfinished;
    if (mark.open(QIODevice::ReadOnly))
        m_asideSuffix = QString::fromUtf8(mark.readAll()).trimmed();
}

void PlannerContainer::finishRecovery()
{
    QFile mark(recoveryMarkPath());
    if (!mark.remove() && mark.exists())
        logLine(QStringLiteral("не удалось снять отметку восстановления %1 — %2")
                    .arg(recoveryMarkPath(), mark.errorString()));
}

void PlannerContainer::moveAside(const QString &error)
{
    const qint64 seconds = microsecondsSinceEpoch(Clock::now()) / 1000000;
    const QString suffix = QStringLiteral(".backup-") + QString::number(seconds);
    // Marked before anything moves: a recovery cut short by a crash or a full disk is resumed
    // at the next opening. Without the mark nothing is moved.
    try {
        PlannerFile::writeBytes(suffix.toUtf8(), recoveryMarkPath());
    } catch (const PersistenceError &markFailure) {
        refuse(error + QStringLiteral("; ") + markFailure.description(), {});
    }
    m_opening = Opening::SetAside;
    m_asideSuffix = suffix;
    const QString target = m_storePath + m_asideSuffix;
    for (const QString &fileSuffix : kStoreSuffixes)
        QFile::rename(m_storePath + fileSuffix, target + fileSuffix);
    logLine(QStringLiteral("миграция не прошла (") + error
            + QStringLiteral("). Старая база отодвинута в ") + target);
}

bool PlannerContainer::replaceWithCopy(const QString &copyPath, QString *error)
{
    if (!looksLikeStore(copyPath, error))
        return false;
    closeAndRemove();
    try {
        PlannerFile::writeBytes(PlannerFile::readBytes(copyPath), m_storePath);
        if (tryOpen(error))
            return true;
    } catch (const PersistenceError &failure) {
        *error = failure.description();
    }
    closeAndRemove();
    QString cleanError;
    if (!tryOpen(&cleanError))
        throw FatalStoreError(
            (QStringLiteral("Furrow: не удалось открыть даже чистую базу — ") + cleanError)
                .toStdString());
    return false;
}

void PlannerContainer::closeAndRemove()
{
    m_context.reset();
    m_store.reset();
    for (const QString &suffix : kStoreSuffixes)
        QFile::remove(m_storePath + suffix);
}

} // namespace furrow
