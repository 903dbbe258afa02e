#pragma once

#include <sqlite3.h>

#include <cstring>

namespace furrow::test {

// A bad day for the disk, for SQLite in this process: while it lives, every connection opened
// goes through a file layer that can refuse every write as a full disk would (SQLITE_FULL) or
// fail every read as a broken disk would (SQLITE_IOERR_READ). Close every store opened under it
// before it goes.
class BadDay
{
public:
    enum class Disk { Fine, Full, Failing };

    BadDay()
    {
        s_real = sqlite3_vfs_find(nullptr);
        m_vfs = *s_real;
        m_vfs.szOsFile = int(sizeof(File)) + s_real->szOsFile;
        m_vfs.zName = "furrow-bad-day";
        m_vfs.pNext = nullptr;
        m_vfs.xOpen = &open;
        sqlite3_vfs_register(&m_vfs, 1);
    }
    ~BadDay()
    {
        sqlite3_vfs_register(s_real, 1);
        sqlite3_vfs_unregister(&m_vfs);
        s_disk = Disk::Fine;
    }
    BadDay(const BadDay &) = delete;
    BadDay &operator=(const BadDay &) = delete;

    void set(Disk disk) { s_disk = disk; }

private:
    struct File
    {
        sqlite3_file base;
        sqlite3_file *real;
    };

    static sqlite3_file *real(sqlite3_file *file) { return reinterpret_cast<File *>(file)->real; }

    static int open(sqlite3_vfs *, sqlite3_filename name, sqlite3_file *file, int flags,
                    int *outFlags)
    {
        auto *shim = reinterpret_cast<File *>(file);
        shim->real = reinterpret_cast<sqlite3_file *>(shim + 1);
        std::memset(shim->real, 0, std::size_t(s_real->szOsFile));
        const int rc = s_real->xOpen(s_real, name, shim->real, flags, outFlags);
        shim->base.pMethods = shim->real->pMethods ? methods(shim->real->pMethods) : nullptr;
        return rc;
    }

    // Calls the real file's method, passing the arguments on.
    template<auto Method>
    struct Forward;
    template<class Result, class... Args,
             Result (*sqlite3_io_methods::*Method)(sqlite3_file *, Args...)>
    struct Forward<Method>
    {
        static Result call(sqlite3_file *f, Args... args)
        {
            return (real(f)->pMethods->*Method)(real(f), args...);
        }
    };

    // The real file's methods, with writes and reads that fail on a bad day.
    static const sqlite3_io_methods *methods(const sqlite3_io_methods *realMethods)
    {
        using M = sqlite3_io_methods;
        static M shim;
        shim = *realMethods;
        shim.xRead = [](sqlite3_file *f, void *buffer, int amount, sqlite3_int64 offset) {
            if (s_disk == Disk::Failing)
                return SQLITE_IOERR_READ;
            return real(f)->pMethods->xRead(real(f), buffer, amount, offset);
        };
        shim.xWrite = [](sqlite3_file *f, const void *buffer, int amount, sqlite3_int64 offset) {
            if (s_disk != Disk::Fine)
                return SQLITE_FULL;
            return real(f)->pMethods->xWrite(real(f), buffer, amount, offset);
        };
        shim.xClose = &Forward<&M::xClose>::call;
        shim.xTruncate = &Forward<&M::xTruncate>::call;
        shim.xSync = &Forward<&M::xSync>::call;
        shim.xFileSize = &Forward<&M::xFileSize>::call;
        shim.xLock = &Forward<&M::xLock>::call;
        shim.xUnlock = &Forward<&M::xUnlock>::call;
        shim.xCheckReservedLock = &Forward<&M::xCheckReservedLock>::call;
        shim.xFileControl = &Forward<&M::xFileControl>::call;
        shim.xSectorSize = &Forward<&M::xSectorSize>::call;
        shim.xDeviceCharacteristics = &Forward<&M::xDeviceCharacteristics>::call;
        shim.xShmMap = &Forward<&M::xShmMap>::call;
        shim.xShmLock = &Forward<&M::xShmLock>::call;
        shim.xShmBarrier = &Forward<&M::xShmBarrier>::call;
        shim.xShmUnmap = &Forward<&M::xShmUnmap>::call;
        // No memory-mapped reads: they would pass by the failing xRead.
        shim.xFetch = [](sqlite3_file *, sqlite3_int64, int, void **p) {
            *p = nullptr;
            return SQLITE_OK;
        };
        shim.xUnfetch = [](sqlite3_file *, sqlite3_int64, void *) {
            return SQLITE_OK;
        };
        return &shim;
    }

    static inline sqlite3_vfs *s_real = nullptr;
    static inline Disk s_disk = Disk::Fine;
    sqlite3_vfs m_vfs{};
};

} // namespace furrow::test
