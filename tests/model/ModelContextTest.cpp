#include "StoreFixture.h"

#include "LogCapture.h"

namespace furrow::test {
namespace {

// A store backend that keeps what it was asked to write and can be told to fail.
class RecordingBackend : public StoreBackend
{
public:
    void write(const ChangeSet &changes) override
    {
        if (failing)
            throw StoreError(QStringLiteral("disk full"));
        writes.push_back(changes);
    }
    bool failing = false;
    std::vector<ChangeSet> writes;
};

class ModelContextTest : public StoreFixture
{
protected:
    ModelContextTest() { context.setBackend(&backend); }
    RecordingBackend backend;
};

TEST_F(ModelContextTest, save_writesOnlyChangedRowsAndClearsPendingChanges)
{
    Page *page = addPage(QStringLiteral("Home"));
    addPage(QStringLiteral("Work"));
    ASSERT_TRUE(context.save().ok);
    EXPECT_FALSE(context.hasChanges());

    page->setName(QStringLiteral("Home"));
    EXPECT_FALSE(context.hasChanges()) << "writing an equal value is no change";
    page->setName(QStringLiteral("House"));
    EXPECT_TRUE(context.hasChanges());
    ASSERT_TRUE(context.save().ok);
    ASSERT_EQ(backend.writes.size(), 2u);
    EXPECT_EQ(backend.writes[1].written, (std::vector<const Record *>{page}));
}

TEST_F(ModelContextTest, failedSave_keepsChangesForTheNextSave_andItsReasonUntilOneSucceeds)
{
    QSignalSpy failures(&context, &ModelContext::saveFailureChanged);
    Page *page = addPage(QStringLiteral("Home"));
    backend.failing = true;
    const auto result = context.save();
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, QStringLiteral("disk full"));
    EXPECT_TRUE(context.hasChanges());
    EXPECT_EQ(context.saveFailure(), QStringLiteral("disk full"));
    addPage(QStringLiteral("Work"));
    EXPECT_FALSE(context.save().ok);
    EXPECT_EQ(failures.count(), 1) << "the same reason again is no news";

    backend.failing = false;
    ASSERT_TRUE(context.save().ok);
    EXPECT_EQ(backend.writes.at(0).written.front(), page);
    EXPECT_TRUE(context.saveFailure().isEmpty());
    ASSERT_EQ(failures.count(), 2);
    EXPECT_EQ(failures.at(1).at(0).toString(), QString());
}

TEST_F(ModelContextTest, storeSaveFailure_logsAndPostsNothing)
{
    QSignalSpy backups(&context, &ModelContext::storeSaved);
    addPage(QStringLiteral("Home"));
    backend.failing = true;
    test::LogCapture log;
    store.save();
    EXPECT_EQ(log.take(), "Furrow: save failed — disk full\n");
    EXPECT_EQ(saveCount(), 0);
    EXPECT_EQ(backups.count(), 0);

    backend.failing = false;
    store.save();
    EXPECT_EQ(saveCount(), 1);
    EXPECT_EQ(backups.count(), 1);
}

TEST_F(ModelContextTest, removal_nullifiesEveryReferenceToTheRemovedRow)
{
    Page *page = addPage(QStringLiteral("Home"));
    Section *section = addSection(QStringLiteral("Today"), page);
    Project *project = addProject(QStringLiteral("Garden"));
    TaskItem *task = addTask(QStringLiteral("Dig"), section, 0, project);

    context.remove(std::vector<Record *>{project, page});
    EXPECT_EQ(task->project(), nullptr);
    EXPECT_EQ(section->page(), nullptr);
    EXPECT_EQ(task->section(), section);
    EXPECT_EQ(context.rows<Project>().size(), 0u);
    EXPECT_EQ(project->context(), nullptr);

    ASSERT_TRUE(context.save().ok);
    const auto &removed = backend.writes.back().removed;
    EXPECT_EQ(removed.size(), 2u);
}

TEST_F(ModelContextTest, removal_ofOneOfTwoRowsWithOneId_leavesTheOther)
{
    Section *first = addSection(QStringLiteral("A"), nullptr);
    Section *twin = addSection(QStringLiteral("A again"), nullptr);
    twin->setId(first->id());
    TaskItem *onTwin = addTask(QStringLiteral("t"), twin, 0);

    context.remove(*first);
    EXPECT_EQ(onTwin->section(), twin) << "references go by row, not by id";
    EXPECT_EQ(context.fetchAll<Section>(), (std::vector<Section *>{twin}));
}

TEST_F(ModelContextTest, changedSignal_isCoalescedPerEventLoopTurn)
{
    QSignalSpy changed(&context, &ModelContext::changed);
    Page *page = addPage(QStringLiteral("Home"));
    page->setName(QStringLiteral("House"));
    addTask(QStringLiteral("t"), nullptr, 0);
    EXPECT_EQ(changed.count(), 0);
    endEventLoopTurn();
    ASSERT_EQ(changed.count(), 1);
    const auto kinds = changed.at(0).at(0).value<RecordKinds>();
    EXPECT_EQ(kinds, RecordKinds(RecordKind::Page) | RecordKind::Task);
}

TEST_F(ModelContextTest, storedRows_loadSilentlyUnderTheirKeys)
{
    auto later = std::make_shared<Page>(QStringLiteral("Later"), QStringLiteral("house"), 0);
    auto earlier = std::make_shared<Page>(QStringLiteral("Earlier"), QStringLiteral("house"), 0);
    context.insertStored(later, 7);
    context.insertStored(earlier, 3);
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(context.fetchAll<Page>(), (std::vector<Page *>{earlier.get(), later.get()}));
    Page *fresh = addPage(QStringLiteral("New"));
    EXPECT_GT(fresh->rowKey(), 7);
}

} // namespace
} // namespace furrow::test
