#include "PrivateFolder.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace furrow::PrivateFolder {

namespace {

QString quoted(const QString &text)
{
    return u'«' + text + u'»';
}

QString systemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

State check(const QString &path, QString *problem)
{
    struct stat status;
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0) {
        if (errno == ENOENT)
            return State::Missing;
        *problem
            = QStringLiteral("не удалось проверить папку %1: %2").arg(quoted(path), systemReason());
        return State::Unsafe;
    }
    if (!S_ISDIR(status.st_mode))
        *problem = QStringLiteral("%1 — не папка").arg(quoted(path));
    else if (status.st_uid != ::geteuid())
        *problem = QStringLiteral("папка %1 принадлежит другому пользователю").arg(quoted(path));
    else if ((status.st_mode & 077) != 0)
        *problem = QStringLiteral("папка %1 открыта другим пользователям (права %2)")
                       .arg(quoted(path))
                       .arg(status.st_mode & 0777, 3, 8, QLatin1Char('0'));
    else
        return State::Private;
    return State::Unsafe;
}

State prepare(const QString &path, QString *problem)
{
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), 0700) == 0) {
        // The umask may have taken the owner's own rights away.
        ::chmod(name.constData(), 0700);
    } else if (errno != EEXIST) {
        *problem
            = QStringLiteral("не удалось создать папку %1: %2").arg(quoted(path), systemReason());
        return State::Unsafe;
    }
    const State state = check(path, problem);
    if (state == State::Missing)
        *problem = QStringLiteral("папка %1 исчезла").arg(quoted(path));
    return state == State::Missing ? State::Unsafe : state;
}

} // namespace furrow::PrivateFolder
