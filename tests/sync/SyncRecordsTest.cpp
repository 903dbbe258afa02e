#include "TestPrinters.h"

#include "sync/CryptoPrimitives.h"
#include "sync/SealedEnvelope.h"
#include "sync/Snapshot.h"
#include "sync/SyncBase64.h"
#include "sync/SyncCrypto.h"
#include "sync/SyncMerge.h"
#include "sync/SyncRecordMapping.h"
#include "sync/SyncTime.h"
#include "sync/wire/SyncBodyCoding.h"
#include "sync/wire/SyncResponse.h"
#include "sync/wire/SyncWireError.h"

#include "model/Calendar.h"
#include "model/Clock.h"
#include "model/ModelContext.h"

#include <QDateTime>
#include <QProcess>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace furrow {
namespace {

using namespace std::chrono_literals;

TEST(SyncWire, values_decodeAsTheFirstCaseThatFits_andOtherShapesFailWithTheStringError)
{
    const auto decodeMember = [](const QByteArray &json) {
        return SyncBodyCoding::decode("{\"v\":" + json + "}").at(QStringLiteral("v"));
    };
    const std::pair<const char *, SyncValue> cases[]
        = {{"true", SyncValue::flag(true)},
           {"1", SyncValue::number(1)},
           {"\"1\"", SyncValue::text(QStringLiteral("1"))},
           {"null", SyncValue::blank()},
           {"2.0", SyncValue::number(2)},
           {"-9223372036854775808", SyncValue::number(INT64_MIN)},
           {"9223372036854775807", SyncValue::number(INT64_MAX)},
           {"\"gr\\u00fcn \\ud83c\\udf31\"", SyncValue::text(QStringLiteral("grün 🌱"))}};
    for (const auto &[json, expected] : cases)
        EXPECT_TRUE(decodeMember(json) == expected) << json;
    for (const char *json :
         {"[1]", "{\"a\":1}", "1.5", "9223372036854775808", "-9223372036854775809", "1e300"}) {
        try {
            decodeMember(json);
            ADD_FAILURE() << "decoded " << json;
        } catch (const SyncWireError &error) {
            EXPECT_TRUE(error.description().contains(QStringLiteral("type must be string")))
                << error.what();
        }
    }
}

TEST(SyncWire, response_needsEveryMemberInShape_butIgnoresUnknownOnesAndKinds)
{
    const SyncResponse response = SyncResponse::decode(R"({"seq":1,"accepted":2,"more":true,
        "extra":[1],"changes":[{"kind":"goal","id":"x","updatedAt":5,"deleted":false,
        "body":{},"future":{"a":[]}}]})");
    ASSERT_EQ(response.changes.size(), 1u);
    EXPECT_EQ(response.changes[0].kind, QStringLiteral("goal"));
    EXPECT_TRUE(response.more);

    const QByteArray record = R"({"kind":"task","id":"a","updatedAt":1,"deleted":false,"body":{}})";
    const auto withRecord = [](const QByteArray &changed) {
        return R"({"seq":1,"accepted":0,"more":false,"changes":[)" + changed + "]}";
    };
    EXPECT_NO_THROW(SyncResponse::decode(withRecord(record)));
    const QByteArray documents[]
        = {R"({"seq":1,"accepted":0,"more":false})",
           R"({"seq":1,"more":false,"changes":[]})",
           R"({"seq":1.5,"accepted":0,"more":false,"changes":[]})",
           R"({"seq":1,"accepted":0,"more":1,"changes":[]})",
           withRecord(QByteArray(record).replace(R"("deleted":false,)", "")),
           withRecord(QByteArray(record).replace(R"(,"body":{})", "")),
           withRecord(QByteArray(record).replace(R"("body":{})", R"("body":{"x":[]})")),
           withRecord(QByteArray(record).replace(R"("body":{})", R"("body":[])"))};
    for (const QByteArray &document : documents)
        EXPECT_THROW(SyncResponse::decode(document), SyncWireError) << document.constData();
}

TEST(SyncTime, roundsHalfMillisecondsAwayFromZero_survivesAbsurdValues_andNamesLocalDays)
{
    EXPECT_EQ(SyncTime::toWire(instantFromMicroseconds(1733400000062500)), 1733400000063);
    EXPECT_EQ(SyncTime::toWire(instantFromMicroseconds(-62500)), -63);
    EXPECT_EQ(SyncTime::toWire(instantFromMicroseconds(1733400000062499)), 1733400000062);
    for (const qint64 ms : {qint64(0), qint64(-63), qint64(1733400000063), qint64(-62135596800000)})
        EXPECT_EQ(SyncTime::toWire(SyncTime::fromWire(ms)), ms);
    // Values no clock produces must still give instants that calendar arithmetic can take.
    for (const qint64 absurd : {INT64_MAX, INT64_MIN}) {
        const Instant instant = SyncTime::fromWire(absurd);
        EXPECT_TRUE(Calendar::isSameDay(Calendar::startOfDay(instant), instant));
        EXPECT_FALSE(SyncTime::dayId(instant).isEmpty());
    }
    EXPECT_GT(SyncTime::fromWire(INT64_MAX), SyncTime::fromWire(1733400000063));
    EXPECT_LT(SyncTime::fromWire(INT64_MIN), distantPast());

    // Tests run in Europe/Berlin: 23:30 UTC on 5 December is already 6 December there.
    const QDateTime late(QDate(2024, 12, 5), QTime(23, 30), QTimeZone::utc());
    EXPECT_EQ(SyncTime::dayId(instantFromDateTime(late)), QStringLiteral("2024-12-06"));
    const QDateTime early(QDate(7, 3, 9), QTime(12, 0), QTimeZone::utc());
    EXPECT_EQ(SyncTime::dayId(instantFromDateTime(early)), QStringLiteral("0007-03-09"));
}

const SyncBody kBody = SyncBodyCoding::decode(
    R"({"title":"Позвонить 🔧","order":-9007199254740993,"done":true,"project":null})");

SyncCrypto crypto(const QString &phrase)
{
    return *SyncCrypto::fromPhrase(phrase);
}

TEST(SyncBase64, matchesRfc4648_andDecodesOnlyTheStrictForm)
{
    const char *plain[] = {"", "f", "fo", "foo", "foob", "fooba", "foobar", "\xfb\xff"};
    const char *encoded[]
        = {"", "Zg==", "Zm8=", "Zm9v", "Zm9vYg==", "Zm9vYmE=", "Zm9vYmFy", "+/8="};
    for (std::size_t i = 0; i < std::size(plain); ++i) {
        EXPECT_EQ(SyncBase64::encode(plain[i]), QLatin1String(encoded[i]));
        EXPECT_EQ(SyncBase64::decode(QString::fromLatin1(encoded[i])), QByteArray(plain[i])) << i;
    }
    for (const char *text : {"Zg", "Zg=", "Zm9v\n", "Zm9\nv", "Zm 9v", "Zm9v=", "Z===", "====",
                             "Zg==Zm9v", "Zm=v", "Zm9-", "Zm9_", "Zm9v\r\nZm9v", "é9vYg=="})
        EXPECT_FALSE(SyncBase64::decode(QString::fromUtf8(text))) << text;
}

TEST(SyncCrypto, sealsWithAFreshNonce_underTheTrimmedPhraseOnly)
{
    EXPECT_FALSE(SyncCrypto::fromPhrase(" \n\t \u2028"));
    const SyncCrypto key = crypto("garden bed");
    const QString first = key.seal(kBody), second = key.seal(kBody);
    EXPECT_NE(first, second);
    EXPECT_EQ(key.open(second), kBody);
    EXPECT_EQ(crypto(" garden bed\n").open(first), kBody);
    EXPECT_FALSE(crypto("Garden bed").open(first));
    EXPECT_EQ(SyncBase64::decode(first)->size(), 12 + SyncBodyCoding::encode(kBody).size() + 16);
}

TEST(SyncCrypto, open_refusesTamperedOrMalformedBoxes)
{
    const SyncCrypto key = crypto("phrase");
    const QString sealed = key.seal(kBody);
    const QByteArray box = *SyncBase64::decode(sealed);
    const auto flipped = [&](qsizetype at) {
        QByteArray copy = box;
        copy[at] = char(copy[at] ^ 0x01);
        return SyncBase64::encode(copy);
    };
    const QString tampered[] = {
        flipped(0),                                   // nonce
        flipped(12),                                  // ciphertext
        flipped(box.size() - 1),                      // tag
        SyncBase64::encode(box.left(box.size() - 1)), // truncated
        SyncBase64::encode(box.left(27)),             // shorter than nonce and tag
        SyncBase64::encode({}),
        sealed.left(sealed.size() - 4), // base64 cut at a group boundary
        sealed + "\n",                  // a line break
        sealed.mid(1),                  // not base64 at all
        SyncBase64::encode(*CryptoPrimitives::aesGcmSeal(QByteArray(32, 0), QByteArray(12, 0),
                                                         "{}")), // another key
    };
    for (const QString &text : tampered)
        EXPECT_FALSE(key.open(text)) << text.toStdString();
}

TEST(SyncCrypto, openRecords_withAKeyReadOnlySealedBodies_andCountEverythingElse)
{
    const SyncCrypto key = crypto("phrase");
    const auto record = [](const char *id, const char *body) {
        return SyncRecord{"task", id, 1, false, SyncBodyCoding::decode(body)};
    };
    const std::vector<SyncRecord> received = {
        key.sealed(record("1", R"({"title":"a"})")),
        crypto("another phrase").sealed(record("2", "{}")),
        record("3", R"({"title":"injected"})"),
        record("4", R"({"e":5})"),
        record("5", R"({"e":"%%"})"),
        key.sealed(record("6", "{}")),
    };
    qint64 unreadable = 1; // a count carried over from an earlier page
    EXPECT_EQ(SyncCrypto::open(received, &key, unreadable),
              (std::vector{record("1", R"({"title":"a"})"), record("6", "{}")}));
    EXPECT_EQ(unreadable, 5);

    unreadable = 0; // without a key, every record with an "e" member is unreadable
    EXPECT_EQ(SyncCrypto::open(received, nullptr, unreadable), std::vector{received[2]});
    EXPECT_EQ(unreadable, 5);
}

TEST(SyncCrypto, boundBodies_openOnlyUnderTheirOwnEnvelope_unboundOnesUnderAny)
{
    const SyncCrypto key = crypto("phrase");
    const QString id = QStringLiteral("A4000000-0000-4000-8000-00000000000A");
    const SyncRecord task{"task", id, 1000, false, kBody};
    const SyncRecord sealed = key.sealed(task);
    const auto changed = [&](const std::function<void(SyncRecord &)> &change) {
        SyncRecord copy = sealed;
        change(copy);
        return copy;
    };
    SyncRecord sameIdInLowerCase = task;
    sameIdInLowerCase.id = id.toLower();
    const std::vector<SyncRecord> received = {
        sealed,
        changed([&](SyncRecord &r) { r.id = sameIdInLowerCase.id; }),
        changed([](SyncRecord &r) { r.id = "A4000000-0000-4000-8000-00000000000B"; }),
        changed([](SyncRecord &r) { r.kind = "project"; }),
        changed([](SyncRecord &r) { r.updatedAt = 1001; }),
        changed([](SyncRecord &r) { r.deleted = true; }),
    };
    qint64 unreadable = 0;
    EXPECT_EQ(SyncCrypto::open(received, &key, unreadable), (std::vector{task, sameIdInLowerCase}));
    EXPECT_EQ(unreadable, 4);

    // Sealed without the envelope, as before bodies carried it: opens whatever envelope it has.
    const SyncRecord unbound{
        "task", "elsewhere", 5, true, {{"e", SyncValue::text(key.seal(kBody))}}};
    EXPECT_EQ(key.openRecord(unbound), kBody);
    // Part of an envelope is no envelope.
    SyncBody partial = SealedEnvelope::bind(task);
    partial.erase(QStringLiteral("envelope.deleted"));
    EXPECT_FALSE(
        key.openRecord({"task", id, 1000, false, {{"e", SyncValue::text(key.seal(partial))}}}));
}

// Python's cryptography package, an independent implementation, seals and opens as we do.
TEST(SyncCrypto, sealedBodies_openBothWaysWithPythonCryptography)
{
    const QString phrase = QStringLiteral(" грядка 🌱\n");
    const auto python = [](const QStringList &arguments) {
        QProcess process;
        process.start(FURROW_PYTHON3, QStringList{FURROW_SEALING_CHECK} + arguments);
        EXPECT_TRUE(process.waitForFinished(30000) && process.exitCode() == 0)
            << process.readAllStandardError().toStdString();
        return process.readAllStandardOutput();
    };
    EXPECT_EQ(SyncBodyCoding::decode(python({"open", phrase, crypto(phrase).seal(kBody)})), kBody);
    const QString sealed = python({"seal", phrase, SyncBodyCoding::encode(kBody)});
    EXPECT_EQ(crypto(phrase).open(sealed), kBody);
    EXPECT_FALSE(crypto("грядка").open(sealed));
}

const Instant kNow = instantFromMicroseconds(1733400000062500); // 5 Dec 2024, 13:00 in Berlin

class SyncMapping : public testing::Test
{
protected:
    void SetUp() override { Clock::setNow(kNow); }
    void TearDown() override { Clock::useSystemTime(); }

    // Applies one record, its body given as JSON, the way a cycle does.
    qint64 apply(const char *kind, const QString &id, qint64 updatedAt, const char *body = "{}",
                 bool deleted = false)
    {
        const SyncRecord record{kind, id, updatedAt, deleted, SyncBodyCoding::decode(body)};
        return SyncMerge::applyPages(m_context, {{record}});
    }

    ModelContext m_context;
};

TEST_F(SyncMapping, changes_areStrictlyAfterTheMarkAndOrderedByKind)
{
    m_context.insert(std::make_shared<TaskItem>("old", nullptr, 0, nullptr))
        ->setUpdatedAt(kNow - 1h);
    m_context.insert(std::make_shared<TaskItem>("new", nullptr, 0, nullptr));
    m_context.insert(std::make_shared<DayPlan>(kNow, std::nullopt));
    m_context.insert(std::make_shared<Project>("P", "#000000", 0));
    const Snapshot snapshot(m_context);
    const double mark = SyncTime::seconds(kNow - 1h);

    const auto out = snapshot.changes(mark);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].kind, "project");
    EXPECT_EQ(out[1].body.at("title"), SyncValue::text("new"));
    EXPECT_EQ(out[2].kind, "day");
    EXPECT_EQ(snapshot.newest(0), SyncTime::seconds(kNow));
    EXPECT_EQ(snapshot.newest(SyncTime::seconds(kNow) + 5), SyncTime::seconds(kNow) + 5);
    EXPECT_TRUE(snapshot.changes(snapshot.newest(mark)).empty());
}

TEST_F(SyncMapping, applyOne_needsAKnownKindAValidIdAndALaterTime_andResetsMissingMembersButTexts)
{
    auto *task = m_context.insert(std::make_shared<TaskItem>("local", nullptr, 8, nullptr));
    task->setUpdatedAt(SyncTime::fromWire(1000));
    task->setDueDate(kNow);
    task->setDone(true);
    task->setDeletedAt(kNow);
    const Instant created = task->createdAt();
    const QString id = idText(task->id());
    EXPECT_EQ(apply("task", id, 1000, R"({"title":"same time"})"), 0);
    for (const QString &bad : QStringList{"{" + id + "}", QString(id).remove('-'), "not an id"})
        EXPECT_EQ(apply("task", bad, 2000), 0) << bad.toStdString();
    EXPECT_EQ(apply("goal", id, 2000), 0);
    EXPECT_EQ(task->title(), "local");
    EXPECT_EQ(apply("task", id.toLower(), 1001, R"({"order":"not a number","title":3})"), 1);
    EXPECT_EQ(m_context.rows<TaskItem>().size(), 1u);
    EXPECT_EQ(task->updatedAt(), SyncTime::fromWire(1001));
    EXPECT_EQ(task->title(), "local");
    EXPECT_EQ(task->order(), 0);
    EXPECT_FALSE(task->dueDate());
    EXPECT_FALSE(task->isDone());
    EXPECT_FALSE(task->deletedAt()) << "a live record undeletes";
    EXPECT_EQ(task->createdAt(), created);
    // A tombstone without a deletion time in its body is deleted at its own time.
    EXPECT_EQ(apply("task", id, 1002, "{}", true), 1);
    EXPECT_EQ(task->deletedAt(), SyncTime::fromWire(1002));
}

TEST_F(SyncMapping, reminderAndRepeat_travelInTheBody_andARecordWithoutThemClearsThemOnlyWhenNewer)
{
    ModelContext other;
    TaskItem *sent = other.insert(std::make_shared<TaskItem>("water", nullptr, 0, nullptr));
    const Instant remindAt = SyncTime::fromWire(SyncTime::toWire(kNow + 1h));
    sent->setRemindAt(remindAt);
    sent->setRepeatRule(QStringLiteral("FREQ=DAILY;INTERVAL=3"));
    sent->setRepeatFromDone(true);
    sent->setSeriesId(QUuid::createUuid());
    SyncRecord record = syncRecord(*sent);
    record.body = SyncBodyCoding::decode(SyncBodyCoding::encode(record.body));
    ASSERT_EQ(SyncMerge::applyPages(m_context, {{record}}), 1);
    TaskItem *task = m_context.rows<TaskItem>().front().get();
    EXPECT_EQ(task->remindAt(), remindAt);
    EXPECT_EQ(task->repeatRule(), sent->repeatRule());
    EXPECT_TRUE(task->repeatFromDone());
    EXPECT_EQ(task->seriesId(), sent->seriesId());

    // An older device's record leaves the members out.
    const QString id = idText(task->id());
    EXPECT_EQ(apply("task", id, record.updatedAt, R"({"title":"water"})"), 0);
    EXPECT_EQ(task->remindAt(), remindAt);
    EXPECT_EQ(apply("task", id, record.updatedAt + 1, R"({"title":"water"})"), 1);
    EXPECT_FALSE(task->remindAt());
    EXPECT_EQ(task->repeatRule(), QString());
    EXPECT_TRUE(task->seriesId().isNull());
}

TEST_F(SyncMapping, orderKeysBeyondTwoToThe53_areHeldAtTheBound)
{
    auto *task = m_context.insert(std::make_shared<TaskItem>("local", nullptr, 0, nullptr));
    auto *page = m_context.insert(std::make_shared<Page>("Work", "house", 0));
    EXPECT_EQ(apply("task", idText(task->id()), 1800000000000, R"({"order":9223372036854775807})"),
              1);
    EXPECT_EQ(apply("page", idText(page->id()), 1800000000000, R"({"order":-9223372036854775807})"),
              1);
    EXPECT_EQ(task->order(), kOrderLimit);
    EXPECT_EQ(page->order(), -kOrderLimit);
}

TEST_F(SyncMapping, dayRecordForAnUnknownDate_createsAPlanOnTheDayItNames)
{
    // 3 March 2024, 23:59 in Berlin; the plan keeps the start of that day.
    const qint64 lateEvening = 1709506740000;
    EXPECT_EQ(apply("day", "2024-03-03", 5000, R"({"date":1709506740000,"planned":4})"), 1);
    ASSERT_EQ(m_context.rows<DayPlan>().size(), 1u);
    const DayPlan &plan = *m_context.rows<DayPlan>().front();
    EXPECT_EQ(plan.date(), Calendar::startOfDay(SyncTime::fromWire(lateEvening)));
    EXPECT_EQ(plan.plannedCount(), 4);

    // Without a date in the body, the record's time names the day.
    EXPECT_EQ(apply("day", "2024-03-04", lateEvening + 60000), 1);
    EXPECT_EQ(m_context.rows<DayPlan>().back()->date(),
              Calendar::startOfDay(SyncTime::fromWire(lateEvening + 60000)));
}

} // namespace
} // namespace furrow
