#include "TestPrinters.h"

#include "sync/Links.h"
#include "sync/Snapshot.h"
#include "sync/SyncMerge.h"
#include "sync/SyncRecordMapping.h"
#include "sync/SyncTime.h"

#include "model/Calendar.h"
#include "model/Clock.h"
#include "model/ModelContext.h"

#include <gtest/gtest.h>

namespace furrow {
namespace {

using namespace std::chrono_literals;

const Instant kNow = instantFromMicroseconds(1733400000062500); // 5 Dec 2024, 13:00 in Berlin

Instant at(qint64 ms)
{
    return SyncTime::fromWire(ms);
}

SyncRecord record(const QString &kind, const QString &id, qint64 updatedAt, SyncBody body = {},
                  bool deleted = false)
{
    return {kind, id, updatedAt, deleted, std::move(body)};
}

SyncValue text(const char *value)
{
    return SyncValue::text(QString::fromUtf8(value));
}

class SyncMapping : public testing::Test
{
protected:
    void SetUp() override { Clock::setNow(kNow); }
    void TearDown() override { Clock::useSystemTime(); }

    // Applies records the way a cycle does: one page, kinds in order, links last.
    qint64 apply(std::vector<SyncRecord> page) { return SyncMerge::applyPages(m_context, {page}); }

    template<class T>
    T *only()
    {
        const auto &rows = m_context.rows<T>();
        return rows.size() == 1 ? rows.front().get() : nullptr;
    }

    ModelContext m_context;
};

TEST_F(SyncMapping, syncRecord_ofATask_carriesEveryFieldAndItsRelationsById)
{
    auto *project
        = m_context.insert(std::make_shared<Project>(QStringLiteral("Home"), "#123456", 2));
    auto *section
        = m_context.insert(std::make_shared<Section>(QStringLiteral("Today"), nullptr, 0));
    auto *task
        = m_context.insert(std::make_shared<TaskItem>(QStringLiteral("Call"), section, 4, project));
    task->setDueDate(Calendar::startOfDay(kNow));
    task->setDone(true);
    task->setDoneAt(kNow);
    task->setDeletedAt(kNow + 1s);

    const SyncRecord out = syncRecord(*task);
    EXPECT_EQ(out.kind, QStringLiteral("task"));
    EXPECT_EQ(out.id, idText(task->id()));
    EXPECT_EQ(out.updatedAt, 1733400000063);
    EXPECT_TRUE(out.deleted);
    const SyncBody expected{{QStringLiteral("title"), text("Call")},
                            {QStringLiteral("note"), text("")},
                            {QStringLiteral("order"), SyncValue::number(4)},
                            {QStringLiteral("done"), SyncValue::flag(true)},
                            {QStringLiteral("doneAt"), SyncValue::number(1733400000063)},
                            {QStringLiteral("dueDate"), SyncValue::number(1733353200000)},
                            {QStringLiteral("createdAt"), SyncValue::number(1733400000063)},
                            {QStringLiteral("archivedAt"), SyncValue::blank()},
                            {QStringLiteral("snoozedUntil"), SyncValue::blank()},
                            {QStringLiteral("deletedAt"), SyncValue::number(1733400001063)},
                            {QStringLiteral("section"), SyncValue::text(idText(section->id()))},
                            {QStringLiteral("project"), SyncValue::text(idText(project->id()))}};
    EXPECT_EQ(out.body, expected);
}

TEST_F(SyncMapping, records_roundTripIntoAnotherStore)
{
    auto *page = m_context.insert(std::make_shared<Page>(QStringLiteral("Work"), "briefcase", 1));
    auto *section = m_context.insert(std::make_shared<Section>(QStringLiteral("Next"), page, 3));
    auto *project = m_context.insert(std::make_shared<Project>(QStringLiteral("P"), "#00FF00", 1));
    auto *task
        = m_context.insert(std::make_shared<TaskItem>(QStringLiteral("T"), section, 7, project));
    task->setNote(QStringLiteral("note"));
    task->setArchivedAt(kNow - 1h);
    task->setSnoozedUntil(kNow + 24h);
    auto *plan = m_context.insert(std::make_shared<DayPlan>(kNow, kNow - 2h));
    plan->setClosedAt(kNow);

    const std::vector<SyncRecord> out = Snapshot(m_context).changes(0);
    ASSERT_EQ(out.size(), 5u);
    ModelContext other;
    EXPECT_EQ(SyncMerge::applyPages(other, {out}), 5);
    const TaskItem &copy = *other.rows<TaskItem>().front();
    EXPECT_EQ(copy.id(), task->id());
    EXPECT_EQ(copy.note(), QStringLiteral("note"));
    EXPECT_EQ(copy.order(), 7);
    EXPECT_EQ(copy.archivedAt(), at(SyncTime::toWire(kNow - 1h)));
    EXPECT_EQ(copy.snoozedUntil(), at(SyncTime::toWire(kNow + 24h)));
    ASSERT_TRUE(copy.section() && copy.project());
    EXPECT_EQ(copy.section()->id(), section->id());
    EXPECT_EQ(copy.project()->colorHex(), QStringLiteral("#00FF00"));
    ASSERT_TRUE(copy.section()->page());
    EXPECT_EQ(copy.section()->page()->iconName(), QStringLiteral("briefcase"));
    const DayPlan &day = *other.rows<DayPlan>().front();
    EXPECT_EQ(day.date(), Calendar::startOfDay(kNow));
    EXPECT_EQ(day.startedAt(), at(SyncTime::toWire(kNow - 2h)));
    EXPECT_EQ(day.closedAt(), at(SyncTime::toWire(kNow)));
}

TEST_F(SyncMapping, changes_areStrictlyAfterTheMarkAndOrderedByKind)
{
    auto *task
        = m_context.insert(std::make_shared<TaskItem>(QStringLiteral("old"), nullptr, 0, nullptr));
    task->setUpdatedAt(kNow - 1h);
    m_context.insert(std::make_shared<TaskItem>(QStringLiteral("new"), nullptr, 0, nullptr));
    m_context.insert(std::make_shared<DayPlan>(kNow, std::nullopt));
    m_context.insert(std::make_shared<Project>(QStringLiteral("P"), "#000000", 0));
    const Snapshot snapshot(m_context);
    const double mark = SyncTime::seconds(kNow - 1h);

    const auto out = snapshot.changes(mark);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].kind, QStringLiteral("project"));
    EXPECT_EQ(out[1].body.at(QStringLiteral("title")), text("new"));
    EXPECT_EQ(out[2].kind, QStringLiteral("day"));
    EXPECT_EQ(snapshot.newest(0), SyncTime::seconds(kNow));
    EXPECT_EQ(snapshot.newest(SyncTime::seconds(kNow) + 5), SyncTime::seconds(kNow) + 5);
    EXPECT_TRUE(snapshot.changes(snapshot.newest(mark)).empty());
}

TEST_F(SyncMapping, applyOne_needsAStrictlyLaterTime)
{
    auto *task = m_context.insert(
        std::make_shared<TaskItem>(QStringLiteral("local"), nullptr, 0, nullptr));
    task->setUpdatedAt(at(1000));
    const QString id = idText(task->id());
    EXPECT_EQ(apply({record("task", id, 1000, {{"title", text("same time")}})}), 0);
    EXPECT_EQ(task->title(), QStringLiteral("local"));
    EXPECT_EQ(apply({record("task", id.toLower(), 1001, {{"title", text("later")}})}), 1);
    EXPECT_EQ(task->title(), QStringLiteral("later"));
    EXPECT_EQ(task->updatedAt(), at(1001));
    EXPECT_EQ(m_context.rows<TaskItem>().size(), 1u);
}

TEST_F(SyncMapping, applyOne_missingMembersKeepTextsAndResetTheRest)
{
    auto *task
        = m_context.insert(std::make_shared<TaskItem>(QStringLiteral("keep"), nullptr, 8, nullptr));
    task->setDueDate(kNow);
    task->setDone(true);
    const Instant created = task->createdAt();
    EXPECT_EQ(apply({record("task", idText(task->id()), 1733500000000,
                            {{"order", text("not a number")}, {"title", SyncValue::number(3)}})}),
              1);
    EXPECT_EQ(task->title(), QStringLiteral("keep"));
    EXPECT_EQ(task->order(), 0);
    EXPECT_FALSE(task->dueDate());
    EXPECT_FALSE(task->isDone());
    EXPECT_EQ(task->createdAt(), created);
}

TEST_F(SyncMapping, tombstoneForAnUnknownProject_createsItDeleted)
{
    const QString id = QStringLiteral("6F9619FF-8B86-D011-B42D-00C04FC964FF");
    EXPECT_EQ(apply({record("project", id, 2000, {}, true)}), 1);
    const Project *project = only<Project>();
    ASSERT_TRUE(project);
    EXPECT_EQ(idText(project->id()), id);
    EXPECT_EQ(project->name(), QString());
    EXPECT_EQ(project->colorHex(), QStringLiteral("#E8622A"));
    EXPECT_EQ(project->deletedAt(), at(2000));

    EXPECT_EQ(apply({record("project", id, 3000, {{"deletedAt", SyncValue::number(2500)}}, true)}),
              1);
    EXPECT_EQ(project->deletedAt(), at(2500));
    EXPECT_EQ(apply({record("project", id, 4000, {{"deletedAt", SyncValue::number(2500)}})}), 1);
    EXPECT_FALSE(project->deletedAt()) << "a live record undeletes";
}

TEST_F(SyncMapping, unknownKindsAndBadIdentifiers_areSkipped)
{
    EXPECT_EQ(apply({record("goal", "6F9619FF-8B86-D011-B42D-00C04FC964FF", 1),
                     record("task", "not an id", 1),
                     record("task", "{6F9619FF-8B86-D011-B42D-00C04FC964FF}", 1),
                     record("task", "6F9619FF8B86D011B42D00C04FC964FF", 1),
                     record("task", "6F9619FF-8B86-D011-B42D-00C04FC964FG", 1)}),
              0);
    EXPECT_TRUE(m_context.rows<TaskItem>().empty());
}

TEST_F(SyncMapping, links_resolveAfterEveryPageSoOrderOfArrivalDoesNotMatter)
{
    const QString taskId = QStringLiteral("11111111-1111-1111-1111-111111111111");
    const QString sectionId = QStringLiteral("22222222-2222-2222-2222-222222222222");
    const QString pageId = QStringLiteral("33333333-3333-3333-3333-333333333333");
    const std::vector<SyncRecord> first{record(
        "task", taskId, 10,
        {{"section", SyncValue::text(sectionId.toLower())}, {"project", text("no such project")}})};
    const std::vector<SyncRecord> second{
        record("section", sectionId, 10, {{"page", SyncValue::text(pageId)}}),
        record("page", pageId, 10, {{"name", text("Work")}})};
    EXPECT_EQ(SyncMerge::applyPages(m_context, {first, second}), 3);
    const TaskItem *task = only<TaskItem>();
    ASSERT_TRUE(task && task->section());
    EXPECT_EQ(idText(task->section()->id()), sectionId);
    EXPECT_FALSE(task->project());
    ASSERT_TRUE(task->section()->page());
    EXPECT_EQ(task->section()->page()->name(), QStringLiteral("Work"));
}

TEST_F(SyncMapping, dayRecordForAnUnknownDate_createsAPlan)
{
    // 3 March 2024, 23:59 in Berlin; the plan keeps the start of that day.
    const qint64 lateEvening = 1709506740000;
    EXPECT_EQ(apply({record(
                  "day", "2024-03-03", 5000,
                  {{"date", SyncValue::number(lateEvening)}, {"planned", SyncValue::number(4)}})}),
              1);
    const DayPlan *plan = only<DayPlan>();
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->date(), Calendar::startOfDay(at(lateEvening)));
    EXPECT_EQ(plan->plannedCount(), 4);

    EXPECT_EQ(apply({record("day", "2024-03-04", lateEvening + 60000, {})}), 1);
    EXPECT_EQ(m_context.rows<DayPlan>().back()->date(),
              Calendar::startOfDay(at(lateEvening + 60000)));
    EXPECT_EQ(apply({record("day", "2024-03-03", 4000, {{"planned", SyncValue::number(9)}})}), 0);
}

} // namespace
} // namespace furrow
