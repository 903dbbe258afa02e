#include "Files.h"
#include "server/SyncStore.h"

#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace furrow {
namespace {

using test::modeOf;

// Sets the process's umask for the guard's lifetime.
struct Umask
{
    explicit Umask(mode_t mask)
        : m_previous(::umask(mask))
    {}
    ~Umask() { ::umask(m_previous); }
    mode_t m_previous;
};

const SyncRequest kPush{
    QStringLiteral("D1"), 0, {{"task", "1", 1, false, {{"e", SyncValue::text("AAAA")}}}}};

TEST(DatabaseFilesTest, underTheUsualUmask_folderAndDatabaseFiles_areTheOwnersAlone)
{
    const Umask usual(022);
    QTemporaryDir root;
    const QString path = root.filePath(QStringLiteral("data/furrow-sync/sync.db"));
    SyncStore store(path);
    store.exchange(kPush, {});
    for (const char *folder : {"data", "data/furrow-sync"})
        EXPECT_EQ(modeOf(root.filePath(folder)), 0700u) << folder;
    for (const char *suffix : {"", "-wal", "-shm"})
        EXPECT_EQ(modeOf(path + suffix), 0600u) << suffix;
}

TEST(DatabaseFilesTest, aDatabaseLeftReadableByOthers_isNarrowedToItsOwner)
{
    QTemporaryDir root;
    const QString path = root.filePath(QStringLiteral("sync.db"));
    SyncStore(path).exchange(kPush, {});
    ::chmod(QFile::encodeName(path).constData(), 0644);
    const SyncStore reopened(path);
    EXPECT_EQ(modeOf(path), 0600u);
}

} // namespace
} // namespace furrow
