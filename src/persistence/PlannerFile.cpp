#include "PlannerFile.h"

#include "PersistenceError.h"

#include "model/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace furrow::PlannerFile {

namespace {

QString pathIn(const QString &folder)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u'/' + folder
           + QStringLiteral("/planner.json");
}

QString quoted(const QString &text)
{
    return u'«' + text + u'»';
}

[[noreturn]] void failWithErrno(const QString &what, const QString &path)
{
    const QString reason = QString::fromLocal8Bit(std::strerror(errno));
    throw PersistenceError(QStringLiteral("%1 %2: %3").arg(what, quoted(path), reason));
}

// Closes a descriptor and removes the temporary file unless it was renamed into place.
class TemporaryFile
{
public:
    explicit TemporaryFile(const QString &target)
    {
        for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
            m_path = target + QStringLiteral(".tmp-%1").arg(QRandomGenerator::global()->generate());
            m_fd = ::open(QFile::encodeName(m_path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (m_fd < 0 && errno != EEXIST)
                break;
        }
        if (m_fd < 0)
            failWithErrno(QStringLiteral("не удалось создать временный файл"), m_path);
        // A replaced file keeps its permissions; a new one holds the user's tasks in the clear,
        // so it is the owner's alone, whatever the umask. The rename replaces a link at the
        // target, not the file it points to, so a link's target lends no permissions.
        struct stat existing;
        const bool replaces = ::lstat(QFile::encodeName(target).constData(), &existing) == 0
                              && S_ISREG(existing.st_mode);
        ::fchmod(m_fd, replaces ? existing.st_mode & 07777 : S_IRUSR | S_IWUSR);
    }
    ~TemporaryFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_renamed)
            ::unlink(QFile::encodeName(m_path).constData());
    }
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    void writeAll(const QByteArray &bytes)
    {
        const char *data = bytes.constData();
        qsizetype left = bytes.size();
        while (left > 0) {
            const ssize_t written = ::write(m_fd, data, size_t(left));
            if (written < 0 && errno == EINTR)
                continue;
            if (written < 0)
                failWithErrno(QStringLiteral("не удалось записать"), m_path);
            data += written;
            left -= written;
        }
        if (::fsync(m_fd) != 0)
            failWithErrno(QStringLiteral("не удалось сохранить на диск"), m_path);
        const int fd = std::exchange(m_fd, -1);
        if (::close(fd) != 0)
            failWithErrno(QStringLiteral("не удалось записать"), m_path);
    }

    void renameTo(const QString &target)
    {
        if (::rename(QFile::encodeName(m_path).constData(), QFile::encodeName(target).constData())
            != 0)
            failWithErrno(QStringLiteral("не удалось заменить файл"), target);
        m_renamed = true;
    }

private:
    QString m_path;
    int m_fd = -1;
    bool m_renamed = false;
};

// Makes the rename itself durable; a folder that cannot be synced is not worth failing for,
// because the file is complete either way.
void syncFolder(const QString &folder)
{
    const int fd
        = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

QString backupPath()
{
    return pathIn(QStringLiteral("Furrow"));
}

QString legacyBackupPath()
{
    return pathIn(QStringLiteral("Plotter"));
}

void write(const PlannerArchive &archive, const QString &path)
{
    writeBytes(archive.encode(), path);
}

void writeBytes(const QByteArray &bytes, const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!makePrivateFolder(folder))
        throw PersistenceError(QStringLiteral("не удалось создать папку %1").arg(quoted(folder)));
    TemporaryFile temporary(path);
    temporary.writeAll(bytes);
    temporary.renameTo(path);
    syncFolder(folder);
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw PersistenceError(
            QStringLiteral("не удалось прочитать %1: %2").arg(quoted(path), file.errorString()));
    return file.readAll();
}

bool makePrivateFolder(const QString &folder)
{
    if (QFileInfo(folder).isDir())
        return true;
    if (!QDir().mkpath(folder))
        return false;
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return true;
}

void migrateLegacyBackup()
{
    const QString current = backupPath();
    const QString legacy = legacyBackupPath();
    if (QFileInfo::exists(current) || !QFileInfo::exists(legacy))
        return;
    const QString folder = QFileInfo(current).absolutePath();
    QFile file(legacy);
    QString problem;
    if (!makePrivateFolder(folder))
        problem = QStringLiteral("не удалось создать папку %1").arg(quoted(folder));
    else if (!file.rename(current))
        problem = file.errorString();
    if (!problem.isEmpty())
        logLine(QStringLiteral("старая резервная копия осталась на месте — ") + problem);
}

} // namespace furrow::PlannerFile
