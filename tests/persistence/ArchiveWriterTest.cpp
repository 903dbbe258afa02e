#include "TestSupport.h"

#include "persistence/ArchiveWriter.h"
#include "persistence/PlannerFile.h"

#include "model/PlannerStore.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace furrow;
using namespace std::chrono_literals;

namespace {

PlannerArchive archiveNumbered(int number)
{
    PlannerArchive archive;
    archive.projects
        = {{QUuid::createUuid(), QString::number(number), "#2563EB", 0, Clock::now(), {}}};
    return archive;
}

class ArchiveWriterTest : public testing::Test
{
protected:
    QString writtenName() const
    {
        const auto archive = PlannerArchive::decode(test::readFile(path));
        return archive.projects.empty() ? QString() : archive.projects[0].name;
    }

    QTemporaryDir dir;
    QString path = dir.path() + "/Furrow/planner.json";
};

} // namespace

TEST_F(ArchiveWriterTest, tenSavesInABurst_giveOneWriteOfTheLastSnapshotAfterTheDelay)
{
    ArchiveWriter writer(path, 200ms);
    test::WriteCounter writes(writer);
    QElapsedTimer sinceLast;

    for (int i = 1; i <= 10; ++i) {
        writer.scheduleWrite(archiveNumbered(i));
        sinceLast.start();
        QTest::qWait(10);
    }
    ASSERT_TRUE(writes.waitFor(1));

    EXPECT_GE(sinceLast.elapsed(), 190);
    EXPECT_EQ(writtenName(), "10");
    QTest::qWait(400);
    EXPECT_EQ(writes.count(), 1);
}

TEST_F(ArchiveWriterTest, savesFurtherApartThanTheDelay_giveOneWriteEach)
{
    ArchiveWriter writer(path, 50ms);
    test::WriteCounter writes(writer);

    writer.scheduleWrite(archiveNumbered(1));
    ASSERT_TRUE(writes.waitFor(1));
    writer.scheduleWrite(archiveNumbered(2));
    ASSERT_TRUE(writes.waitFor(2));

    EXPECT_EQ(writtenName(), "2");
}

TEST_F(ArchiveWriterTest, unwritableFolder_logsAndKeepsThePreviousFile)
{
    ArchiveWriter writer(path, 10ms);
    test::WriteCounter writes(writer);
    writer.scheduleWrite(archiveNumbered(1));
    ASSERT_TRUE(writes.waitFor(1));
    test::UnwritableFolder unwritable(dir.path() + "/Furrow");
    if (!unwritable.isActive())
        GTEST_SKIP() << "cannot make a folder unwritable here";
    test::CapturedOutput output;

    writer.scheduleWrite(archiveNumbered(2));
    ASSERT_TRUE(writes.waitFor(2));

    EXPECT_EQ(writes.failures(), 1);
    EXPECT_EQ(output.text().rfind("Furrow: не удалось записать резервную копию — ", 0), 0u)
        << output.text();
    EXPECT_EQ(writtenName(), "1");
}

TEST_F(ArchiveWriterTest, flush_writesThePendingSnapshotAtOnce)
{
    ArchiveWriter writer(path, 1h);
    writer.scheduleWrite(archiveNumbered(1));
    writer.scheduleWrite(archiveNumbered(2));

    EXPECT_TRUE(writer.flush(5s));

    EXPECT_EQ(writtenName(), "2");
    EXPECT_TRUE(writer.flush(0ms)); // nothing left to write
}

TEST_F(ArchiveWriterTest, attachedToContext_eachStoreSaveHandsOverAFreshSnapshot)
{
    ModelContext context;
    PlannerStore store(context);
    ArchiveWriter writer(path, 1h);
    writer.attachTo(context);

    store.createProject("Garden");
    ASSERT_TRUE(writer.flush());

    EXPECT_EQ(writtenName(), "Garden");
}

TEST_F(ArchiveWriterTest, contextSavedDirectly_schedulesNoWrite)
{
    ModelContext context;
    ArchiveWriter writer(path, 1ms);
    test::WriteCounter writes(writer);
    writer.attachTo(context);

    context.insert(std::make_shared<Project>("Synced", "#2563EB", 0));
    context.save();
    QTest::qWait(50);

    EXPECT_EQ(writes.count(), 0);
}
