#include "DatabaseFiles.h"

#include "ServerError.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace furrow {

void DatabaseFiles::prepare(const std::string &databasePath)
{
    const auto slash = databasePath.rfind('/');
    if (slash != std::string::npos && slash > 0)
        makeFolder(databasePath.substr(0, slash));
    createFile(databasePath);
    for (const char *suffix : {"", "-wal", "-shm"})
        restrictToOwner(databasePath + suffix);
}

// Like `mkdir -p`, but every folder it makes is 0700 from the start.
void DatabaseFiles::makeFolder(const std::string &folder)
{
    for (auto end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
        const std::string part = folder.substr(0, end);
        if (::mkdir(part.c_str(), S_IRWXU) != 0 && errno != EEXIST)
            throw ServerError("не удалось создать папку " + part + " — " + std::strerror(errno));
        if (end == std::string::npos)
            break;
    }
    struct stat info
    {
    };
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        throw ServerError("не удалось создать папку " + folder);
}

// SQLite would create a missing database with 0644 under the umask, and its -wal and -shm with
// the same mode.
void DatabaseFiles::createFile(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd >= 0)
        ::close(fd); // otherwise it exists, or SQLite says why it cannot be made
}

void DatabaseFiles::restrictToOwner(const std::string &path)
{
    struct stat info
    {
    };
    if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)
        && (info.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        ::chmod(path.c_str(), info.st_mode & S_IRWXU);
}

} // namespace furrow
