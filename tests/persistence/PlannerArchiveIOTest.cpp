#include "TestSupport.h"

#include "persistence/PlannerArchiveIO.h"
#include "persistence/PlannerSnapshot.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace furrow;

namespace {

class PlannerArchiveIOTest : public testing::Test
{
protected:
    void SetUp() override
    {
        store.ensureStarterPage();
        store.capture("Call the plumber #Home", context.rows<Section>().front().get(), nullptr);
        store.createProject("Home");
    }
    PlannerArchive contents() const
    {
        PlannerArchive archive = PlannerSnapshot::snapshot(store);
        archive.savedAt = {};
        return archive;
    }

    QTemporaryDir dir;
    ModelContext context;
    PlannerStore store{context};
};

} // namespace

TEST_F(PlannerArchiveIOTest, exportThenImport_intoTheSamePlanner_changesNothing)
{
    const QString path = dir.path() + "/new folder/planner.json";
    const PlannerArchive before = contents();

    EXPECT_TRUE(PlannerArchiveIO::exportTo(store, path).succeeded);
    const auto outcome = PlannerArchiveIO::importFrom(store, path);

    EXPECT_TRUE(outcome.succeeded);
    EXPECT_EQ(contents(), before);
}

TEST_F(PlannerArchiveIOTest, import_ofUnreadableFiles_givesTheReadAlertAndChangesNothing)
{
    const QString path = dir.path() + "/in.json";
    const PlannerArchive before = contents();
    // A task the store lacks, in a document without "days": nothing of it may arrive.
    const QByteArray withoutDays = R"({"version": 1, "savedAt": "2025-03-01T09:30:00Z",
        "projects": [], "tasks": [{"id": "A1B2C3D4-E5F6-4711-8899-AABBCCDDEEFF", "title": "New",
        "order": 0, "isDone": false, "createdAt": "2025-03-01T09:30:00Z",
        "updatedAt": "2025-03-01T09:30:00Z"}]})";

    for (const QByteArray &bytes :
         {withoutDays, QByteArray(R"({"name": "not a planner"})"), QByteArray("plain text")}) {
        test::writeFile(path, bytes);
        const auto outcome = PlannerArchiveIO::importFrom(store, path);
        EXPECT_FALSE(outcome.succeeded);
        EXPECT_TRUE(outcome.alertText.startsWith("Не удалось прочитать файл: "))
            << outcome.alertText.toStdString();
    }
    const auto missing = PlannerArchiveIO::importFrom(store, dir.path() + "/missing.json");
    EXPECT_TRUE(missing.alertText.startsWith("Не удалось прочитать файл: "));

    EXPECT_EQ(contents(), before);
    EXPECT_FALSE(context.hasChanges());
}

TEST_F(PlannerArchiveIOTest, export_toAPlaceThatCannotBeWritten_givesTheExportAlert)
{
    test::writeFile(dir.path() + "/file", "x");
    const auto outcome = PlannerArchiveIO::exportTo(store, dir.path() + "/file/planner.json");
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_TRUE(outcome.alertText.startsWith("Не удалось выгрузить: "))
        << outcome.alertText.toStdString();
}
