// Pins the body members of every kind against documents written by hand in tests/sync/data, so
// that a renamed or retyped member fails here even though our own peers would still agree.

#include "TestPrinters.h"

#include "sync/SyncCrypto.h"
#include "sync/SyncMerge.h"
#include "sync/SyncRecordMapping.h"

#include "model/DayPlan.h"
#include "model/ModelContext.h"
#include "model/Page.h"
#include "model/Project.h"
#include "model/Section.h"
#include "model/TaskItem.h"

#include <QFile>

#include <stdexcept>

#include <gtest/gtest.h>

namespace furrow {
namespace {

nlohmann::json fixture(const QString &name)
{
    QFile file(QStringLiteral(FURROW_SYNC_DATA_DIR "/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return nlohmann::json::parse(file.readAll().toStdString());
}

// Both documents parsed and dumped again: member order and spacing do not count, and a
// difference prints as readable JSON.
std::string canonical(const nlohmann::json &json)
{
    return json.dump();
}

std::string encoded(const SyncRecord &record)
{
    nlohmann::json json;
    record.toJson(json);
    return canonical(json);
}

Instant ms(qint64 milliseconds)
{
    return instantFromMicroseconds(milliseconds * 1000);
}

const QUuid kProjectId("A1000000-0000-4000-8000-000000000001");
const QUuid kPageId("A2000000-0000-4000-8000-000000000002");
const QUuid kSectionId("A3000000-0000-4000-8000-000000000003");
const QUuid kTaskId("A4000000-0000-4000-8000-000000000004");
const Instant kUpdated = ms(1733400000063);
const Instant kStartOfDay = ms(1733353200000); // 5 December 2024, 00:00 in Berlin

// The one row of a kind; the test stops with a failure when there is not exactly one.
template<class T>
T &only(const ModelContext &context)
{
    if (context.rows<T>().size() != 1)
        throw std::runtime_error("expected exactly one row of a kind");
    return *context.rows<T>().front();
}

// The objects of the five documents, built field by field without the decoder.
struct Expected
{
    Project project{QStringLiteral("Дом 🏡"), QStringLiteral("#2563EB"), 3};
    Page page{QStringLiteral("Work"), QStringLiteral("briefcase"), 1};
    Section section{QStringLiteral("Today"), &page, 2};
    TaskItem task{QStringLiteral("Call the plumber"), &section, 7, &project};
    DayPlan day{kStartOfDay, ms(1733382000000)};

    Expected()
    {
        project.setId(kProjectId);
        page.setId(kPageId);
        page.setDeletedAt(ms(1733300000000));
        section.setId(kSectionId);
        task.setId(kTaskId);
        task.setNote(QStringLiteral("after five"));
        task.setDone(true);
        task.setDoneAt(ms(1733390000000));
        task.setDueDate(kStartOfDay);
        task.setCreatedAt(ms(1733300000000));
        task.setArchivedAt(ms(1733395000000));
        task.setSnoozedUntil(ms(1733500000000));
        day.setPlannedCount(5);
        day.setClosedCount(3);
        for (Record *record :
             std::initializer_list<Record *>{&project, &page, &section, &task, &day})
            record->setUpdatedAt(kUpdated);
    }
};

TEST(RecordFixtures, ourEncoder_writesExactlyTheDocumentOfEachKind)
{
    const Expected expected;
    EXPECT_EQ(encoded(syncRecord(expected.project)), canonical(fixture("project.json")));
    EXPECT_EQ(encoded(syncRecord(expected.page)), canonical(fixture("page.json")));
    EXPECT_EQ(encoded(syncRecord(expected.section)), canonical(fixture("section.json")));
    EXPECT_EQ(encoded(syncRecord(expected.task)), canonical(fixture("task.json")));
    EXPECT_EQ(encoded(syncRecord(expected.day)), canonical(fixture("day.json")));
}

// Decoded and encoded again, each document comes back whole: every field and relation arrived.
TEST(RecordFixtures, theDocumentOfEachKind_decodesIntoEveryFieldAndRelation)
{
    ModelContext context;
    std::vector<SyncRecord> page;
    for (const char *kind : {"task", "day", "section", "page", "project"})
        page.push_back(SyncRecord::fromJson(fixture(QString::fromLatin1(kind) + ".json")));
    ASSERT_EQ(SyncMerge::applyPages(context, {page}), 5);

    EXPECT_EQ(encoded(syncRecord(only<Project>(context))), canonical(fixture("project.json")));
    EXPECT_EQ(encoded(syncRecord(only<Page>(context))), canonical(fixture("page.json")));
    EXPECT_EQ(encoded(syncRecord(only<Section>(context))), canonical(fixture("section.json")));
    EXPECT_EQ(encoded(syncRecord(only<TaskItem>(context))), canonical(fixture("task.json")));
    EXPECT_EQ(encoded(syncRecord(only<DayPlan>(context))), canonical(fixture("day.json")));
    EXPECT_EQ(only<TaskItem>(context).section(), &only<Section>(context));
    EXPECT_EQ(only<TaskItem>(context).project(), &only<Project>(context));
    EXPECT_EQ(only<Section>(context).page(), &only<Page>(context));
}

TEST(RecordFixtures, recordsForUnseenIds_fillWhatTheBodyLacksWithTheNeutralValues)
{
    ModelContext context;
    const std::vector<SyncRecord> page
        = {SyncRecord::fromJson(fixture("project-tombstone-unseen.json")),
           SyncRecord::fromJson(fixture("page-without-icon.json"))};
    ASSERT_EQ(SyncMerge::applyPages(context, {page}), 2);

    const Project &project = only<Project>(context);
    EXPECT_EQ(project.id(), QUuid("A5000000-0000-4000-8000-000000000005"));
    EXPECT_EQ(project.name(), "");
    EXPECT_EQ(project.colorHex(), "#E8622A");
    EXPECT_EQ(project.order(), 0);
    EXPECT_EQ(project.deletedAt(), ms(1733399000000));
    EXPECT_EQ(project.updatedAt(), kUpdated);

    const Page &garden = only<Page>(context);
    EXPECT_EQ(garden.name(), "Garden");
    EXPECT_EQ(garden.iconName(), "house");
    EXPECT_EQ(garden.order(), 2);
    EXPECT_FALSE(garden.deletedAt());
}

// Sealed with Python under "correct horse battery staple": the task document with its envelope
// in the sealed body, and as it was sealed before bodies carried the envelope.
TEST(RecordFixtures, sealedTaskDocuments_openToTheTaskBody_theBoundOneOnlyUnderItsEnvelope)
{
    const SyncCrypto key = *SyncCrypto::fromPhrase(QStringLiteral("correct horse battery staple"));
    const SyncRecord task = SyncRecord::fromJson(fixture("task.json"));
    const SyncRecord bound = SyncRecord::fromJson(fixture("task-sealed.json"));
    const SyncRecord unbound = SyncRecord::fromJson(fixture("task-sealed-unbound.json"));
    qint64 unreadable = 0;
    EXPECT_EQ(SyncCrypto::open({bound, unbound}, &key, unreadable), (std::vector{task, task}));
    EXPECT_EQ(unreadable, 0);

    SyncRecord moved = bound;
    moved.id = QStringLiteral("A4000000-0000-4000-8000-000000000005");
    EXPECT_FALSE(key.openRecord(moved));
    moved.body = unbound.body;
    EXPECT_EQ(key.openRecord(moved), task.body) << "older peers' bodies keep opening";
}

} // namespace
} // namespace furrow
