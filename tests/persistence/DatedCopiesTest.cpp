#include "LocalTime.h"
#include "TestSupport.h"

#include "persistence/ArchiveWriter.h"
#include "persistence/DatedCopies.h"
#include "persistence/PlannerContainer.h"

#include "model/PlannerStore.h"

#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace furrow {
namespace {

using namespace std::chrono_literals;
using test::modeOf;

// A planner in a store with its backup writer, saving once on each day of the test clock.
class DatedCopiesTest : public testing::Test
{
protected:
    DatedCopiesTest()
    {
        // With nothing masked, only the modes the code sets itself keep files private.
        m_umask = ::umask(0);
        Clock::setNow(test::localTime(2026, 3, 1, 12));
        container = PlannerContainer::open(furrow + "/furrow.store");
        writer.setStorePath(container->storePath());
        writer.attachTo(container->context());
    }
    ~DatedCopiesTest() override
    {
        Clock::useSystemTime();
        ::umask(m_umask);
    }

    // Moves to the next day and saves a project there; answers the day.
    QDate saveOnNextDay()
    {
        Clock::advance(24h);
        return saveToday();
    }
    QDate saveToday()
    {
        PlannerStore(container->context()).createProject(QString::number(++saves));
        EXPECT_TRUE(writer.flush());
        return toLocalDateTime(Clock::now()).date();
    }
    QStringList backups() const
    {
        return QDir(furrow + "/backups").entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    static QString jsonName(QDate day) { return "planner-" + day.toString(Qt::ISODate) + ".json"; }
    static QString storeName(QDate day) { return "furrow-" + day.toString(Qt::ISODate) + ".store"; }

    QTemporaryDir dir;
    const QString furrow = dir.path() + "/Furrow";
    const QString backupPath = furrow + "/planner.json";
    std::unique_ptr<PlannerContainer> container;
    ArchiveWriter writer{backupPath, 1h}; // writes only when flushed
    mode_t m_umask = 0;
    int saves = 0;
};

TEST_F(DatedCopiesTest, savesOnThreeDays_keepThePreviousFileAndTheStoreOncePerDay)
{
    saveToday(); // the first backup file: nothing to keep yet
    EXPECT_TRUE(backups().isEmpty());

    QList<QDate> days;
    for (int i = 0; i < 3; ++i)
        days.append(saveOnNextDay());
    saveToday(); // a second save on the third day keeps no second copy

    QStringList expected;
    for (QDate day : days)
        expected << storeName(day) << jsonName(day);
    expected.sort();
    EXPECT_EQ(backups(), expected) << "no temporary file stays";

    for (int i = 0; i < 3; ++i) {
        const QString json = furrow + "/backups/" + jsonName(days[i]);
        EXPECT_EQ(PlannerArchive::decode(test::readFile(json)).projects.size(), size_t(i + 1))
            << "the backup file as the day began";
        ModelContext restored;
        SqliteStore(furrow + "/backups/" + storeName(days[i])).loadInto(restored);
        EXPECT_EQ(restored.rows<Project>().size(), size_t(i + 2)) << "the store as it was copied";
    }
}

TEST_F(DatedCopiesTest, fifteenthCopy_dropsTheOldestOfBothKinds)
{
    saveToday();
    QList<QDate> days;
    for (int i = 0; i < DatedCopies::kKept; ++i)
        days.append(saveOnNextDay());
    EXPECT_EQ(backups().size(), 2 * DatedCopies::kKept);
    EXPECT_TRUE(backups().contains(jsonName(days.first())));

    const QDate fifteenth = saveOnNextDay();
    const QStringList kept = backups();
    EXPECT_EQ(kept.size(), 2 * DatedCopies::kKept);
    EXPECT_FALSE(kept.contains(jsonName(days.first())));
    EXPECT_FALSE(kept.contains(storeName(days.first())));
    EXPECT_TRUE(kept.contains(jsonName(days[1])));
    EXPECT_TRUE(kept.contains(jsonName(fifteenth)));
    EXPECT_TRUE(kept.contains(storeName(fifteenth)));
}

TEST_F(DatedCopiesTest, filesAreTheOwnersAlone_inPrivateFolders)
{
    saveToday();
    const QDate day = saveOnNextDay();
    EXPECT_EQ(modeOf(furrow), 0700u);
    EXPECT_EQ(modeOf(furrow + "/backups"), 0700u);
    for (const QString &file :
         {QStringLiteral("/furrow.store"), QStringLiteral("/furrow.store-wal"),
          QStringLiteral("/furrow.store-shm"), QStringLiteral("/planner.json"),
          "/backups/" + jsonName(day), "/backups/" + storeName(day)})
        EXPECT_EQ(modeOf(furrow + file), 0600u) << file.toStdString();
}

} // namespace
} // namespace furrow
