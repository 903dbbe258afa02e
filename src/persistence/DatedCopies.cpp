#include "DatedCopies.h"

#include "PersistenceError.h"
#include "PlannerFile.h"

#include "model/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <sqlite3.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace furrow::DatedCopies {

namespace {

const QString kJsonPattern = QStringLiteral("planner-\?\?\?\?-\?\?-\?\?.json");
const QString kStorePattern = QStringLiteral("furrow-\?\?\?\?-\?\?-\?\?.store");

QString jsonCopy(const QString &folder, QDate day)
{
    return folder + QStringLiteral("/planner-") + day.toString(Qt::ISODate)
           + QStringLiteral(".json");
}

QString storeCopy(const QString &folder, const QString &isoDay)
{
    return folder + QStringLiteral("/furrow-") + isoDay + QStringLiteral(".store");
}

// The date part of a copy's name: what lies between the first '-' and the extension.
QString dayOf(const QString &fileName)
{
    const qsizetype start = fileName.indexOf(u'-') + 1;
    return fileName.mid(start, 10);
}

QStringList newestFirst(const QString &folder, const QString &pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files, QDir::Name | QDir::Reversed);
}

// One connection, closed on every way out.
class Connection
{
public:
    Connection(const QString &path, int flags)
    {
        if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr) != SQLITE_OK)
            fail(path);
    }
    ~Connection() { sqlite3_close(m_db); }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    sqlite3 *handle() const { return m_db; }
    [[noreturn]] void fail(const QString &path) const
    {
        const QString reason
            = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
        throw PersistenceError(QStringLiteral("%1: %2").arg(path, reason));
    }

private:
    sqlite3 *m_db = nullptr;
};

void backUp(const QString &storePath, const QString &temporary)
{
    Connection source(storePath, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX);
    Connection destination(temporary, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX);
    sqlite3_backup *backup
        = sqlite3_backup_init(destination.handle(), "main", source.handle(), "main");
    if (!backup)
        destination.fail(temporary);
    // One step copies every page inside one read transaction: a consistent store, even while
    // the planner's own connection writes to the WAL.
    const int stepped = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    if (stepped != SQLITE_DONE || finished != SQLITE_OK)
        destination.fail(temporary);
}

void syncFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        if (fd >= 0)
            ::close(fd);
        throw PersistenceError(QStringLiteral("не удалось сохранить на диск %1").arg(path));
    }
    ::close(fd);
}

void prune(const QString &folder)
{
    const QStringList copies = newestFirst(folder, kJsonPattern);
    if (copies.size() <= kKept)
        return;
    for (const QString &name : copies.mid(kKept))
        QFile::remove(folder + u'/' + name);
    // Store copies go with their day's copy, and so does any older one left without it.
    const QString oldestKept = dayOf(copies.at(kKept - 1));
    for (const QString &name : newestFirst(folder, kStorePattern))
        if (dayOf(name) < oldestKept)
            QFile::remove(folder + u'/' + name);
}

} // namespace

QString folderFor(const QString &backupPath)
{
    return QFileInfo(backupPath).absolutePath() + QStringLiteral("/backups");
}

void keepBeforeReplacing(const QString &backupPath, const QString &storePath, QDate day)
{
    const QString folder = folderFor(backupPath);
    const QString copy = jsonCopy(folder, day);
    if (!QFileInfo::exists(backupPath) || QFileInfo::exists(copy))
        return;
    try {
        PlannerFile::writeBytes(PlannerFile::readBytes(backupPath), copy);
    } catch (const PersistenceError &error) {
        logLine(QStringLiteral("не удалось сохранить датированную копию — ") + error.description());
        return;
    }
    if (!storePath.isEmpty() && QFileInfo::exists(storePath)) {
        try {
            copyStore(storePath, storeCopy(folder, day.toString(Qt::ISODate)));
        } catch (const PersistenceError &error) {
            logLine(QStringLiteral("не удалось скопировать хранилище — ") + error.description());
        }
    }
    prune(folder);
}

void copyStore(const QString &storePath, const QString &target)
{
    const QString temporary
        = target + QStringLiteral(".tmp-%1").arg(QRandomGenerator::global()->generate());
    // Created here so that it is the owner's alone before SQLite writes a page into it.
    const int fd = ::open(QFile::encodeName(temporary).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0)
        throw PersistenceError(
            QStringLiteral("не удалось создать временный файл %1").arg(temporary));
    ::fchmod(fd, S_IRUSR | S_IWUSR);
    ::close(fd);
    try {
        backUp(storePath, temporary);
        syncFile(temporary);
        if (::rename(QFile::encodeName(temporary).constData(),
                     QFile::encodeName(target).constData())
            != 0)
            throw PersistenceError(QStringLiteral("не удалось заменить файл %1").arg(target));
    } catch (const PersistenceError &) {
        for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"),
                                      QStringLiteral("-journal")})
            QFile::remove(temporary + suffix);
        throw;
    }
}

namespace {

QStringList pathsNewestFirst(const QString &folder, const QString &pattern)
{
    QStringList paths;
    for (const QString &name : newestFirst(folder, pattern))
        paths.append(folder + u'/' + name);
    return paths;
}

} // namespace

QStringList storeCopiesNewestFirst(const QString &folder)
{
    return pathsNewestFirst(folder, kStorePattern);
}

QStringList backupCopiesNewestFirst(const QString &folder)
{
    return pathsNewestFirst(folder, kJsonPattern);
}

} // namespace furrow::DatedCopies
