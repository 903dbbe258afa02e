#include "TestSupport.h"

#include "persistence/PersistenceError.h"
#include "persistence/PlannerArchive.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <functional>

using namespace furrow;
using namespace std::chrono;
using furrow::test::at;
using nlohmann::json;

namespace {

// Every optional set on one task and none on the other; an id given in lower case; instants
// with sub-second parts, after and before 1970, that the file drops.
PlannerArchive fullArchive()
{
    PlannerArchive archive;
    archive.savedAt = at("2025-03-01T09:30:00Z") + 750ms;
    const QUuid home("6f1c2a9e-3b7d-4e21-9a55-0c8d7e6f5a41");
    archive.projects = {{home, "Home", "#2563EB", 2, at("2025-02-28T18:00:00Z"), {}},
                        {QUuid("0a0b0c0d-1111-2222-3333-444455556666"), "Old", "#475569", -1,
                         at("2025-01-02T03:04:05Z"), at("1969-12-31T23:59:59Z") + 900ms}};
    archive.tasks = {{QUuid("a1b2c3d4-e5f6-4711-8899-aabbccddeeff"),
                      "Call the plumber \"now\" — ünïcödé",
                      "Today",
                      7,
                      "line one\nline two",
                      at("2025-03-02T23:00:00Z"),
                      true,
                      at("2025-03-01T08:15:30Z"),
                      at("2025-02-27T10:00:00Z"),
                      at("2025-03-01T08:15:30Z") + 1us,
                      at("2025-03-01T09:00:00Z"),
                      home,
                      {},
                      {},
                      false,
                      {}},
                     {}};
    archive.tasks[1].id = QUuid("00000000-0000-4000-8000-000000000001");
    archive.tasks[1].title = "Bare";
    archive.tasks[1].createdAt = archive.tasks[1].updatedAt = at("2025-03-01T00:00:00Z");
    archive.days = {{at("2025-02-28T23:00:00Z"), at("2025-03-01T07:45:00Z")},
                    {at("2025-03-01T23:00:00Z"), {}}};
    return archive;
}

} // namespace

TEST(PlannerArchive, encode_matchesTheExpectedFiles_andDecodesBackWithoutSubSeconds)
{
    PlannerArchive empty;
    empty.savedAt = at("2025-03-01T09:30:00Z");
    EXPECT_EQ(empty.encode(), test::readFile(FURROW_TEST_DATA_DIR "/empty.json"));
    // Sorted keys, upper-case ids, whole UTC seconds towards the past, no key for an absent
    // optional and never null.
    const PlannerArchive original = fullArchive();
    EXPECT_EQ(original.encode(), test::readFile(FURROW_TEST_DATA_DIR "/full.json"));

    PlannerArchive expected = original;
    expected.savedAt = at("2025-03-01T09:30:00Z");
    expected.projects[1].deletedAt = at("1969-12-31T23:59:59Z");
    expected.tasks[0].updatedAt = at("2025-03-01T08:15:30Z");
    // What a reader also accepts: null for absent, an offset, a lower-case id.
    json document = json::parse(original.encode().toStdString());
    document["tasks"][1]["deletedAt"] = nullptr;
    document["savedAt"] = "2025-03-01T10:30:00+01:00";
    document["tasks"][0]["id"] = "a1b2c3d4-e5f6-4711-8899-aabbccddeeff";
    const PlannerArchive back = PlannerArchive::decode(QByteArray::fromStdString(document.dump()));
    EXPECT_EQ(back, expected);
    EXPECT_LT(back.tasks[0].updatedAt, original.tasks[0].updatedAt);
}

TEST(PlannerArchive, encode_ofInstantsBeyondFourDigitYears_staysReadable)
{
    PlannerArchive archive;
    archive.savedAt = Instant(sys_days(year(12000) / 1 / 1));
    archive.days = {{Instant(sys_days(year(-40) / 1 / 1)), {}}};
    const PlannerArchive back = PlannerArchive::decode(archive.encode());
    EXPECT_EQ(back.savedAt, at("9999-12-31T23:59:59Z"));
    EXPECT_EQ(back.days[0].date, at("0000-01-01T00:00:00Z"));
}

struct DecodeCase
{
    const char *name;
    std::function<void(json &)> change;
    bool readable;
};

class PlannerArchiveDecode : public testing::TestWithParam<DecodeCase>
{
};

TEST_P(PlannerArchiveDecode, decode_ofChangedDocument_readsOrRejectsTheWhole)
{
    json document = json::parse(fullArchive().encode().toStdString());
    GetParam().change(document);
    const QByteArray bytes = QByteArray::fromStdString(document.dump());
    if (GetParam().readable)
        EXPECT_NO_THROW(PlannerArchive::decode(bytes));
    else
        EXPECT_THROW(PlannerArchive::decode(bytes), PersistenceError);
}

TEST(PlannerArchive, decode_ofNumberBeyondDoubleRange_throwsPersistenceError)
{
    const QByteArray bytes
        = R"({"days": [{"date": "2025-02-28T23:00:00Z", "startedAt": 3e33333}]})";
    EXPECT_THROW(PlannerArchive::decode(bytes), PersistenceError);
}

const DecodeCase kDecodeCases[] = {
    {"missingDays", [](json &d) { d.erase("days"); }, false},
    {"emptyDays", [](json &d) { d["days"] = json::array(); }, true},
    {"otherVersion", [](json &d) { d["version"] = 7; }, true},
    {"unknownKeys", [](json &d) { d["pages"] = d["tasks"][0]["pinned"] = 1; }, true},
    {"missingTitle", [](json &d) { d["tasks"][1].erase("title"); }, false},
    {"nullTitle", [](json &d) { d["tasks"][1]["title"] = nullptr; }, false},
    {"fraction", [](json &d) { d["tasks"][0]["dueDate"] = "2025-03-01T09:30:00.500Z"; }, false},
    {"dateWithoutTime", [](json &d) { d["days"][0]["date"] = "2025-03-01"; }, false},
    {"impossibleDay", [](json &d) { d["savedAt"] = "2025-02-30T09:30:00Z"; }, false},
    {"textForBoolean", [](json &d) { d["tasks"][0]["isDone"] = "true"; }, false},
    {"fractionalOrder", [](json &d) { d["tasks"][0]["order"] = 1.5; }, false},
    {"orderBeyond64Bits", [](json &d) { d["tasks"][0]["order"] = 1ull << 63; }, false},
    {"bracedId", [](json &d) { d["tasks"][1]["id"] = "{00000000-0000-4000-8000-000000000001}"; },
     false},
    {"documentNotObject", [](json &d) { d = json::array({d}); }, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, PlannerArchiveDecode, testing::ValuesIn(kDecodeCases),
                         [](const auto &param) { return std::string(param.param.name); });

TEST(PlannerArchive, reminderAndRepeatMembers_roundTrip_andAreLeftOutWhenAbsent)
{
    PlannerArchive archive = fullArchive();
    PlannerArchive::TaskRecord &task = archive.tasks[1];
    task.remindAt = at("2025-03-02T08:00:00Z");
    task.repeat = QStringLiteral("FREQ=MONTHLY;BYMONTHDAY=-1;X-UNKNOWN=1");
    task.repeatFromDone = true;
    task.series = QUuid("00000000-0000-4000-8000-000000000002");
    const QByteArray encoded = archive.encode();
    const json document = json::parse(encoded.toStdString());
    EXPECT_EQ(document["tasks"][1]["series"], "00000000-0000-4000-8000-000000000002");
    EXPECT_FALSE(document["tasks"][0].contains("repeat"));
    EXPECT_FALSE(document["tasks"][0].contains("repeatFromDone"));
    const PlannerArchive back = PlannerArchive::decode(encoded);
    EXPECT_EQ(back.tasks[1].remindAt, task.remindAt);
    EXPECT_EQ(back.tasks[1].repeat, task.repeat);
    EXPECT_TRUE(back.tasks[1].repeatFromDone);
    EXPECT_EQ(back.tasks[1].series, task.series);
    EXPECT_FALSE(back.tasks[0].remindAt);
}
