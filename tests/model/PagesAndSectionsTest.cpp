#include "StoreFixture.h"

#include "model/LiveRecords.h"

namespace furrow::test {
namespace {

using PagesAndSectionsTest = StoreFixture;

TEST_F(PagesAndSectionsTest, starterPage_isCreatedOnceWithThreeSections_andAgainOnlyOverATombstone)
{
    Page *inbox = store.ensureStarterPage();
    EXPECT_EQ(inbox->name(), QStringLiteral("Inbox"));
    EXPECT_EQ(inbox->iconName(), QStringLiteral("tray"));
    EXPECT_EQ(inbox->order(), 0);
    const auto sections = liveOn(context.fetchAll<Section>(), inbox);
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0]->name(), QStringLiteral("Today"));
    EXPECT_EQ(sections[1]->name(), QStringLiteral("Next"));
    EXPECT_EQ(sections[2]->name(), QStringLiteral("Later"));
    EXPECT_EQ(orders(sections), (std::vector<qint64>{0, 1, 2}));
    EXPECT_EQ(saveCount(), 1);

    EXPECT_EQ(store.ensureStarterPage(), inbox);
    EXPECT_EQ(context.rows<Page>().size(), 1u);
    EXPECT_EQ(saveCount(), 1);

    inbox->setDeletedAt(Clock::now());
    EXPECT_NE(store.ensureStarterPage(), inbox);
    EXPECT_EQ(context.rows<Page>().size(), 2u);
}

TEST_F(PagesAndSectionsTest, starterPages_ofTwoPlanners_shareTheirIds_unlessAnIdIsTaken)
{
    ModelContext other;
    Page *here = store.ensureStarterPage();
    Page *there = PlannerStore(other).ensureStarterPage();
    EXPECT_EQ(here->id(), there->id());
    EXPECT_EQ(here->id().version(), QUuid::Sha1);
    const auto ids = [](const ModelContext &planner) {
        std::vector<QUuid> found;
        for (const auto &section : planner.rows<Section>())
            found.push_back(section->id());
        return found;
    };
    EXPECT_EQ(ids(context), ids(other));

    // Deleted, not yet purged: the next starter page cannot take the same ids.
    store.deletePage(*here);
    Page *next = store.ensureStarterPage();
    EXPECT_NE(next->id(), here->id());
    QSet<QUuid> unique;
    for (const QUuid &id : ids(context))
        unique.insert(id);
    EXPECT_EQ(unique.size(), 6);
}

TEST_F(PagesAndSectionsTest, created_pagesAndSectionsFollowTheLargestLiveOrderOfTheirGroup)
{
    EXPECT_EQ(store.createPage(QStringLiteral("First"), QStringLiteral("house"))->order(), 0);
    addPage(QStringLiteral("b"), 1);
    Page *page = addPage(QStringLiteral("c"), 4);
    addPage(QStringLiteral("gone"), 9)->setDeletedAt(Clock::now());
    EXPECT_EQ(store.createPage(QString(), QStringLiteral("x"))->order(), 5);

    addSection(QStringLiteral("elsewhere"), nullptr, 10);
    EXPECT_EQ(store.createSection(QStringLiteral("A"), *page)->order(), 0);
    addSection(QStringLiteral("B"), page, 3);
    EXPECT_EQ(store.createSection(QStringLiteral("C"), *page)->order(), 4);
}
TEST_F(PagesAndSectionsTest, rename_trimsAndIgnoresBlankNames)
{
    Page *page = addPage(QStringLiteral("Old"));
    Section *section = addSection(QStringLiteral("Lane"), page);
    store.rename(*page, QStringLiteral("  Work \n"));
    EXPECT_EQ(page->name(), QStringLiteral("Work"));
    store.rename(*page, QStringLiteral("   "));
    store.rename(*section, QStringLiteral("\t"));
    EXPECT_EQ(page->name(), QStringLiteral("Work"));
    EXPECT_EQ(section->name(), QStringLiteral("Lane"));
    EXPECT_EQ(saveCount(), 1);
}

TEST_F(PagesAndSectionsTest, deletePage_archivesOpenTasksAndRenumbersPages)
{
    Page *first = addPage(QStringLiteral("First"), 0);
    Page *page = addPage(QStringLiteral("Doomed"), 1);
    Page *last = addPage(QStringLiteral("Last"), 2);
    Section *a = addSection(QStringLiteral("A"), page, 0);
    Section *b = addSection(QStringLiteral("B"), page, 1);
    TaskItem *open1 = addTask(QStringLiteral("1"), a, 0);
    TaskItem *open2 = addTask(QStringLiteral("2"), a, 1);
    TaskItem *done = addTask(QStringLiteral("done"), a, 2);
    done->setDone(true);
    TaskItem *open3 = addTask(QStringLiteral("3"), b, 0);
    Clock::advance(std::chrono::minutes(1));
    const Instant now = Clock::now();

    store.deletePage(*page);
    for (TaskItem *task : {open1, open2, open3}) {
        EXPECT_EQ(task->section(), nullptr);
        EXPECT_EQ(task->archivedAt(), now);
        EXPECT_FALSE(task->isDone());
    }
    EXPECT_EQ(done->section(), a);
    EXPECT_FALSE(done->archivedAt());
    EXPECT_EQ(a->deletedAt(), now);
    EXPECT_EQ(b->deletedAt(), now);
    EXPECT_EQ(page->deletedAt(), now);
    EXPECT_EQ(first->order(), 0);
    EXPECT_EQ(last->order(), 1);
    EXPECT_EQ(saveCount(), 1);
}

TEST_F(PagesAndSectionsTest,
       deleteSection_movesOpenTasksToTheFirstOtherLane_orArchivesThemOnTheLast)
{
    Page *page = addPage(QStringLiteral("P"));
    Section *first = addSection(QStringLiteral("0"), page, 0);
    Section *second = addSection(QStringLiteral("1"), page, 1);
    addSection(QStringLiteral("2"), page, 2);
    TaskItem *moved = addTask(QStringLiteral("moved"), first, 1);
    TaskItem *own = addTask(QStringLiteral("own"), second, 4);
    TaskItem *done = addTask(QStringLiteral("done"), first, 0);
    done->setDone(true);

    store.deleteSection(*first);
    EXPECT_TRUE(first->deletedAt());
    EXPECT_EQ(moved->section(), second);
    EXPECT_FALSE(moved->archivedAt());
    EXPECT_EQ(done->section(), first);
    EXPECT_EQ(store.tasks(second), (std::vector<TaskItem *>{moved, own}));
    EXPECT_EQ(orders(store.tasks(second)), (std::vector<qint64>{0, 1}));
    EXPECT_EQ(saveCount(), 1);

    Section *only = addSection(QStringLiteral("only"), addPage(QStringLiteral("Q"), 1));
    TaskItem *lone = addTask(QStringLiteral("lone"), only, 0);
    store.deleteSection(*only);
    EXPECT_EQ(lone->section(), nullptr);
    EXPECT_EQ(lone->archivedAt(), Clock::now());
    EXPECT_EQ(store.archivedTasks(), (std::vector<TaskItem *>{lone}));
}

} // namespace
} // namespace furrow::test
