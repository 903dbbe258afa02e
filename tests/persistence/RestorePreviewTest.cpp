#include "TestSupport.h"

#include "persistence/PlannerArchiveIO.h"
#include "persistence/PlannerSnapshot.h"

#include <QHash>

#include <gtest/gtest.h>

using namespace furrow;
using furrow::test::at;

namespace {

// Rows as the merge can change them: stamps by id, and each day plan's start.
struct StoreState
{
    QHash<QUuid, Instant> projects;
    QHash<QUuid, Instant> tasks;
    QHash<const DayPlan *, OptionalInstant> days;
};

class RestorePreviewTest : public testing::Test
{
protected:
    void SetUp() override
    {
        addProject("11111111-0000-4000-8000-000000000001", "2025-02-01T00:00:00Z");
        addProject("11111111-0000-4000-8000-000000000002", "2025-02-05T00:00:00Z");
        addTask("22222222-0000-4000-8000-000000000001", "2025-02-01T00:00:00Z");
        addTask("22222222-0000-4000-8000-000000000002", "2025-02-10T00:00:00Z");
        addTask("22222222-0000-4000-8000-000000000003", "2025-02-10T00:00:00Z");
        context.insert(std::make_shared<DayPlan>(at("2025-02-01T12:00:00Z"), std::nullopt));
        context.insert(
            std::make_shared<DayPlan>(at("2025-02-02T12:00:00Z"), at("2025-02-02T07:00:00Z")));
        ASSERT_TRUE(store.save().ok);
    }

    void addProject(const char *id, const char *updatedAt)
    {
        auto project = std::make_shared<Project>("Stored", "#000000", 0);
        project->setId(QUuid::fromString(QLatin1String(id)));
        project->setUpdatedAt(at(updatedAt));
        context.insert(std::move(project));
    }
    void addTask(const char *id, const char *updatedAt)
    {
        auto task = std::make_shared<TaskItem>("Stored", nullptr, 0, nullptr);
        task->setId(QUuid::fromString(QLatin1String(id)));
        task->setUpdatedAt(at(updatedAt));
        context.insert(std::move(task));
    }

    StoreState state() const
    {
        StoreState s;
        for (const auto &p : context.rows<Project>())
            s.projects.insert(p->id(), p->updatedAt());
        for (const auto &t : context.rows<TaskItem>())
            s.tasks.insert(t->id(), t->updatedAt());
        for (const auto &d : context.rows<DayPlan>())
            s.days.insert(d.get(), d->startedAt());
        return s;
    }

    // What a merge did, counted from the rows alone.
    static RestorePlan::Counts difference(const StoreState &before, const StoreState &after)
    {
        RestorePlan::Counts c;
        const auto tally = [](const auto &old, const auto &now, int &added, int &changed) {
            for (auto it = now.begin(); it != now.end(); ++it) {
                if (!old.contains(it.key()))
                    ++added;
                else if (old.value(it.key()) != it.value())
                    ++changed;
            }
        };
        tally(before.projects, after.projects, c.newProjects, c.updatedProjects);
        tally(before.tasks, after.tasks, c.newTasks, c.updatedTasks);
        tally(before.days, after.days, c.newDays, c.updatedDays);
        return c;
    }

    ModelContext context;
    PlannerStore store{context};
};

} // namespace

TEST_F(RestorePreviewTest, preview_countsWhatTheImportThenDoes_andWritesNothing)
{
    const PlannerArchive archive = PlannerArchiveIO::readFrom(FURROW_TEST_DATA_DIR "/merge.json");
    const StoreState before = state();
    const RestorePlan::Counts preview = PlannerSnapshot::preview(store, archive);
    EXPECT_FALSE(context.hasChanges());

    // Duplicates touch one row once; equal and older stamps and a day with a start are kept.
    RestorePlan::Counts expected;
    expected.newProjects = 1;
    expected.updatedProjects = 1;
    expected.newTasks = 2;
    expected.updatedTasks = 1;
    expected.newDays = 1;
    expected.updatedDays = 1;
    EXPECT_EQ(preview, expected);
    EXPECT_EQ(preview.summary(), QStringLiteral("4 new, 3 updated, nothing deleted"));

    ASSERT_TRUE(PlannerSnapshot::restore(store, archive).ok);
    EXPECT_EQ(difference(before, state()), preview);

    // The duplicates were weighed against each other as the merge applied them.
    const auto title = [&](const char *id) {
        for (const auto &t : context.rows<TaskItem>())
            if (t->id() == QUuid::fromString(QLatin1String(id)))
                return t->title();
        return QString();
    };
    EXPECT_EQ(title("22222222-0000-4000-8000-000000000001"), QStringLiteral("Newer again"));
    EXPECT_EQ(title("22222222-0000-4000-8000-000000000005"),
              QStringLiteral("New, a newer duplicate"));
    EXPECT_EQ(title("22222222-0000-4000-8000-000000000002"), QStringLiteral("Stored"));

    // Once merged, the same document has nothing left to do.
    const RestorePlan::Counts again = PlannerSnapshot::preview(store, archive);
    EXPECT_EQ(again, RestorePlan::Counts{});
    EXPECT_EQ(again.summary(), QStringLiteral("0 new, 0 updated, nothing deleted"));
}
