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

    // The real file's methods, with writes and reads that fail on a bad day.
    static const sqlite3_io_methods *methods(const sqlite3_io_methods *realMethods)
    {
        static sqlite3_io_methods shim;
        shim = *realMethods;
        shim.xClose = [](sqlite3_file *f) {
            return real(f)->pMethods->xClose(real(f));
        };
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
        shim.xTruncate = [](sqlite3_file *f, sqlite3_int64 size) {
            return real(f)->pMethods->xTruncate(real(f), size);
        };
        shim.xSync = [](sqlite3_file *f, int flags) {
            return real(f)->pMethods->xSync(real(f), flags);
        };
        shim.xFileSize = [](sqlite3_file *f, sqlite3_int64 *size) {
            return real(f)->pMethods->xFileSize(real(f), size);
        };
        shim.xLock = [](sqlite3_file *f, int lock) {
            return real(f)->pMethods->xLock(real(f), lock);
        };
        shim.xUnlock = [](sqlite3_file *f, int lock) {
            return real(f)->pMethods->xUnlock(real(f), lock);
        };
        shim.xCheckReservedLock = [](sqlite3_file *f, int *out) {
            return real(f)->pMethods->xCheckReservedLock(real(f), out);
        };
        shim.xFileControl = [](sqlite3_file *f, int op, void *arg) {
            return real(f)->pMethods->xFileControl(real(f), op, arg);
        };
        shim.xSectorSize = [](sqlite3_file *f) {
            return real(f)->pMethods->xSectorSize(real(f));
        };
        shim.xDeviceCharacteristics = [](sqlite3_file *f) {
            return real(f)->pMethods->xDeviceCharacteristics(real(f));
        };
        shim.xShmMap = [](sqlite3_file *f, int page, int size, int extend, void volatile **p) {
            return real(f)->pMethods->xShmMap(real(f), page, size, extend, p);
        };
        shim.xShmLock = [](sqlite3_file *f, int offset, int n, int flags) {
            return real(f)->pMethods->xShmLock(real(f), offset, n, flags);
        };
        shim.xShmBarrier = [](sqlite3_file *f) {
            real(f)->pMethods->xShmBarrier(real(f));
        };
        shim.xShmUnmap = [](sqlite3_file *f, int deleteFlag) {
            return real(f)->pMethods->xShmUnmap(real(f), deleteFlag);
        };
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
