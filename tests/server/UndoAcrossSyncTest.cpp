#include "SyncScenario.h"

#include "sync/TestPrinters.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace furrow {
namespace {

using namespace std::chrono_literals;
using namespace test;

// Every reference in the context leads to a row that is in it.
void expectReferencesResolve(const ModelContext &context)
{
    const auto resolves = [&](const Record *row) {
        return !row || row->context() == &context;
    };
    for (const auto &task : context.rows<TaskItem>()) {
        EXPECT_TRUE(resolves(task->section())) << task->title().toStdString();
        EXPECT_TRUE(resolves(task->project())) << task->title().toStdString();
    }
    for (const auto &section : context.rows<Section>())
        EXPECT_TRUE(resolves(section->page())) << section->name().toStdString();
}

// Closes the open undo step, as returning to the event loop does after a user's action.
void endTurn()
{
    QCoreApplication::processEvents();
}

class UndoAcrossSyncTest : public testing::Test
{
protected:
    void SetUp() override { Clock::setNow(kStart); }
    void TearDown() override { Clock::useSystemTime(); }
};

TEST_F(UndoAcrossSyncTest, undoingASectionAnotherDeskFiledInto_keepsTheTaskInItOnBothDesks)
{
    ServerHarness server;
    Planner a(server.url()), b(server.url());
    Page *page = a.store.createPage("Page-a", QStringLiteral("house"));
    endTurn();
    Section *section = a.store.createSection("Section-a", *page);
    endTurn();
    syncCleanly(a);

    Clock::advance(2s);
    syncCleanly(b);
    Section *filedInto = live(b.context.fetchAll<Section>()).front();
    TaskItem *fromB = b.store.capture("Task-b", filedInto, nullptr);
    syncCleanly(b);
    Clock::advance(2s);
    syncCleanly(a);
    const auto found = std::ranges::find_if(a.context.rows<TaskItem>(),
                                            [&](const auto &t) { return t->id() == fromB->id(); });
    ASSERT_NE(found, a.context.rows<TaskItem>().end());
    TaskItem *task = found->get();
    ASSERT_EQ(task->section(), section);

    Clock::advance(2s);
    EXPECT_TRUE(a.store.undo());                 // the section's creation
    a.store.capture("Task-a", section, nullptr); // a new change drops the redo step
    endTurn();
    expectReferencesResolve(a.context);
    EXPECT_EQ(section->context(), &a.context);
    EXPECT_TRUE(section->isLive());
    EXPECT_EQ(task->section(), section);

    for (Planner *planner : {&a, &b, &a})
        syncCleanly(*planner);
    EXPECT_EQ(a.records(), b.records());
    EXPECT_EQ(fromB->section()->id(), section->id());
}

TEST_F(UndoAcrossSyncTest, undoingWhatWasSent_tombstonesItOnEveryDesk_andRedoBringsItBack)
{
    ServerHarness server;
    Planner a(server.url()), b(server.url());
    TaskItem *task = a.addTask("a");
    endTurn();
    syncCleanly(a);
    syncCleanly(b);

    Clock::advance(2s);
    EXPECT_TRUE(a.store.undo());
    ASSERT_EQ(task->context(), &a.context) << "a row another desk knows stays, as a tombstone";
    EXPECT_TRUE(task->deletedAt());
    expectReferencesResolve(a.context);
    syncCleanly(a);
    syncCleanly(b);
    EXPECT_EQ(a.records(), b.records());
    EXPECT_TRUE(active(b.context.fetchAll<TaskItem>()).empty());

    Clock::advance(2s);
    EXPECT_TRUE(a.store.redo());
    EXPECT_FALSE(task->deletedAt());
    syncCleanly(a);
    syncCleanly(b);
    EXPECT_EQ(a.records(), b.records());
    EXPECT_EQ(active(b.context.fetchAll<TaskItem>()).size(), 1u);
}

TEST_F(UndoAcrossSyncTest, randomEditsUndoRedoAndSyncs_neverLeaveADanglingReference)
{
    for (const unsigned seed : {11u, 12u, 13u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Clock::setNow(kStart);
        ServerHarness server;
        Planner a(server.url()), b(server.url());
        std::mt19937 random(seed);
        for (int step = 0; step < 150; ++step) {
            Planner &planner = random() % 2 ? a : b;
            Clock::advance(1'000'317us);
            switch (random() % 6) {
            case 0:
                syncCleanly(planner);
                break;
            case 1:
                planner.store.undo();
                break;
            case 2:
                planner.store.redo();
                break;
            default:
                randomEdit(planner.store, random);
            }
            endTurn();
            expectReferencesResolve(a.context);
            expectReferencesResolve(b.context);
            if (testing::Test::HasFailure())
                return;
        }
        for (Planner *planner : {&a, &b, &a, &b})
            syncCleanly(*planner);
        EXPECT_EQ(a.records(), b.records()) << "undo never leaves the desks disagreeing";
    }
}

} // namespace
} // namespace furrow
