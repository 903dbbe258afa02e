#include "PlannerArchiveIO.h"

#include "PersistenceError.h"
#include "PlannerFile.h"
#include "PlannerSnapshot.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace furrow::PlannerArchiveIO {

namespace {

Outcome failure(const QString &prefix, const QString &description)
{
    return {false, prefix + description};
}

// The largest file taken for a document: far above any planner's backup, and small enough to
// hold in memory at once.
constexpr qint64 kMaxImportBytes = 256 * 1024 * 1024;

QString quoted(const QString &text)
{
    return u'«' + text + u'»';
}

// Refuses a device, a pipe or a folder, and a file past the limit, before reading a byte: such
// a read would never end or would not fit. Opening does not block, so a pipe without a writer
// cannot hang the caller either.
QByteArray readWholeFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw PersistenceError(QString::fromLocal8Bit(std::strerror(errno)));
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw PersistenceError(file.errorString());
    }
    struct stat status;
    if (::fstat(fd, &status) != 0)
        throw PersistenceError(QString::fromLocal8Bit(std::strerror(errno)));
    const QString tooLarge = quoted(path) + QStringLiteral(" больше предела (256 МиБ)");
    if (!S_ISREG(status.st_mode))
        throw PersistenceError(quoted(path) + QStringLiteral(" — не обычный файл"));
    if (status.st_size > kMaxImportBytes)
        throw PersistenceError(tooLarge);
    // Read to the end in pieces rather than by the size seen above: the file may still grow.
    QByteArray bytes;
    bytes.reserve(qsizetype(status.st_size));
    while (bytes.size() <= kMaxImportBytes) {
        const QByteArray piece = file.read(1024 * 1024);
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (file.error() != QFileDevice::NoError)
        throw PersistenceError(file.errorString());
    if (bytes.size() > kMaxImportBytes)
        throw PersistenceError(tooLarge);
    return bytes;
}

} // namespace

PlannerArchive readFrom(const QString &path)
{
    return PlannerArchive::decode(readWholeFile(path));
}

Outcome exportTo(const PlannerStore &store, const QString &path)
{
    try {
        PlannerFile::write(PlannerSnapshot::snapshot(store), path);
    } catch (const PersistenceError &error) {
        return failure(QStringLiteral("Не удалось выгрузить: "), error.description());
    }
    return {};
}

Outcome importFrom(PlannerStore &store, const QString &path)
{
    PlannerArchive archive;
    if (const Outcome read = readForImport(path, archive); !read.succeeded)
        return read;
    return restoreFrom(store, archive);
}

Outcome readForImport(const QString &path, PlannerArchive &archive)
{
    try {
        archive = readFrom(path);
    } catch (const PersistenceError &error) {
        return failure(QStringLiteral("Не удалось прочитать файл: "), error.description());
    }
    return {};
}

Outcome restoreFrom(PlannerStore &store, const PlannerArchive &archive)
{
    if (const ModelContext::SaveResult saved = PlannerSnapshot::restore(store, archive); !saved.ok)
        return failure(QStringLiteral("Не удалось сохранить загруженное: "), saved.error);
    return {};
}

} // namespace furrow::PlannerArchiveIO
