#include "TestSupport.h"

#include "persistence/PersistenceError.h"
#include "persistence/PlannerArchive.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <functional>

using namespace furrow;
using furrow::test::at;
using nlohmann::json;

namespace {

// Every field set, an identifier given in lower case, and instants with sub-second parts
// (after and before 1970) that the file drops.
PlannerArchive fullArchive()
{
    PlannerArchive archive;
    archive.savedAt = at("2025-03-01T09:30:00Z") + std::chrono::milliseconds(750);
    const QUuid projectId(QStringLiteral("6f1c2a9e-3b7d-4e21-9a55-0c8d7e6f5a41"));
    archive.projects = {
        {projectId, QStringLiteral("Home"), QStringLiteral("#2563EB"), 2,
         at("2025-02-28T18:00:00Z"), std::nullopt},
        {QUuid(QStringLiteral("{0a0b0c0d-1111-2222-3333-444455556666}")), QStringLiteral("Old"),
         QStringLiteral("#475569"), -1, at("2025-01-02T03:04:05Z"),
         at("1969-12-31T23:59:59Z") + std::chrono::microseconds(900000)},
    };
    PlannerArchive::TaskRecord full;
    full.id = QUuid(QStringLiteral("a1b2c3d4-e5f6-4711-8899-aabbccddeeff"));
    full.title = QStringLiteral("Call the plumber \"now\" — ünïcödé");
    full.section = QStringLiteral("Today");
    full.order = 7;
    full.note = QStringLiteral("line one\nline two");
    full.dueDate = at("2025-03-02T23:00:00Z");
    full.isDone = true;
    full.doneAt = at("2025-03-01T08:15:30Z");
    full.createdAt = at("2025-02-27T10:00:00Z");
    full.updatedAt = at("2025-03-01T08:15:30Z") + std::chrono::microseconds(1);
    full.deletedAt = at("2025-03-01T09:00:00Z");
    full.projectID = projectId;
    PlannerArchive::TaskRecord bare;
    bare.id = QUuid(QStringLiteral("00000000-0000-4000-8000-000000000001"));
    bare.title = QStringLiteral("Bare");
    bare.createdAt = at("2025-03-01T00:00:00Z");
    bare.updatedAt = at("2025-03-01T00:00:00Z");
    archive.tasks = {full, bare};
    archive.days = {{at("2025-02-28T23:00:00Z"), at("2025-03-01T07:45:00Z")},
                    {at("2025-03-01T23:00:00Z"), std::nullopt}};
    return archive;
}

PlannerArchive decoded(const json &document)
{
    const std::string text = document.dump();
    return PlannerArchive::decode(QByteArray(text.data(), qsizetype(text.size())));
}

json validDocument()
{
    return json::parse(fullArchive().encode().toStdString());
}

} // namespace

TEST(PlannerArchive, encode_emptyArchive_matchesExpectedFile)
{
    PlannerArchive archive;
    archive.savedAt = at("2025-03-01T09:30:00Z");
    EXPECT_EQ(archive.encode(), test::expectedOutput("empty.json"));
}

TEST(PlannerArchive, encode_fullArchive_matchesExpectedFile)
{
    // Sorted keys, upper-case ids, whole UTC seconds rounded towards the past, no null and no
    // key for an absent optional.
    EXPECT_EQ(fullArchive().encode(), test::expectedOutput("full.json"));
}

TEST(PlannerArchive, decode_ofEncoded_givesEveryFieldBackWithoutSubSeconds)
{
    const PlannerArchive original = fullArchive();
    const PlannerArchive back = PlannerArchive::decode(original.encode());

    EXPECT_EQ(back.version, 1);
    EXPECT_EQ(back.savedAt, at("2025-03-01T09:30:00Z"));
    ASSERT_EQ(back.tasks.size(), 2u);
    PlannerArchive::TaskRecord expected = original.tasks[0];
    expected.updatedAt = at("2025-03-01T08:15:30Z");
    EXPECT_EQ(back.tasks[0], expected);
    EXPECT_LT(back.tasks[0].updatedAt, original.tasks[0].updatedAt);
    EXPECT_EQ(back.tasks[1], original.tasks[1]);
    EXPECT_EQ(back.projects[0], original.projects[0]);
    EXPECT_EQ(back.projects[1].deletedAt, at("1969-12-31T23:59:59Z"));
    EXPECT_EQ(back.days, original.days);
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

TEST_P(PlannerArchiveDecode, decode_ofChangedDocument_acceptsOrRejectsWhole)
{
    json document = validDocument();
    GetParam().change(document);
    if (GetParam().readable)
        EXPECT_NO_THROW(decoded(document));
    else
        EXPECT_THROW(decoded(document), PersistenceError);
}

const DecodeCase kDecodeCases[] = {
    {"missingDays", [](json &d) { d.erase("days"); }, false},
    {"emptyDays", [](json &d) { d["days"] = json::array(); }, true},
    {"nullDays", [](json &d) { d["days"] = nullptr; }, false},
    {"missingVersion", [](json &d) { d.erase("version"); }, false},
    {"otherVersionAndUnknownKeys",
     [](json &d) {
         d["version"] = 7;
         d["pages"] = json::array({1, 2});
         d["tasks"][0]["colour"] = "red";
     },
     true},
    {"missingRequiredTaskTitle", [](json &d) { d["tasks"][1].erase("title"); }, false},
    {"nullRequiredTitle", [](json &d) { d["tasks"][1]["title"] = nullptr; }, false},
    {"fractionOfSecond", [](json &d) { d["tasks"][0]["dueDate"] = "2025-03-01T09:30:00.500Z"; },
     false},
    {"dateWithoutTime", [](json &d) { d["days"][0]["date"] = "2025-03-01"; }, false},
    {"timeWithoutZone", [](json &d) { d["savedAt"] = "2025-03-01T09:30:00"; }, false},
    {"impossibleDay", [](json &d) { d["savedAt"] = "2025-02-30T09:30:00Z"; }, false},
    {"textForBoolean", [](json &d) { d["tasks"][0]["isDone"] = "true"; }, false},
    {"numberForBoolean", [](json &d) { d["tasks"][0]["isDone"] = 1; }, false},
    {"fractionalOrder", [](json &d) { d["tasks"][0]["order"] = 1.5; }, false},
    {"orderBeyond64Bits", [](json &d) { d["tasks"][0]["order"] = 9223372036854775808ull; }, false},
    {"numberForTitle", [](json &d) { d["tasks"][0]["title"] = 12; }, false},
    {"bracedId", [](json &d) { d["tasks"][0]["id"] = "{A1B2C3D4-E5F6-4711-8899-AABBCCDDEEFF}"; },
     false},
    {"shortProjectId", [](json &d) { d["tasks"][0]["projectID"] = "A1B2C3D4"; }, false},
    {"recordNotObject", [](json &d) { d["projects"][1] = "Home"; }, false},
    {"listNotArray", [](json &d) { d["tasks"] = json::object(); }, false},
    {"documentNotObject", [](json &d) { d = json::array({d}); }, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, PlannerArchiveDecode, testing::ValuesIn(kDecodeCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(PlannerArchive, decode_readsNullOffsetsAndLowerCaseAsTheirValues)
{
    json document = validDocument();
    document["projects"][0]["deletedAt"] = nullptr;
    document["savedAt"] = "2025-03-01T10:30:00+01:00";
    document["tasks"][0]["id"] = "a1b2c3d4-e5f6-4711-8899-aabbccddeeff";
    const PlannerArchive archive = decoded(document);
    EXPECT_FALSE(archive.projects[0].deletedAt);
    EXPECT_EQ(archive.savedAt, at("2025-03-01T09:30:00Z"));
    EXPECT_EQ(archive.tasks[0].id, QUuid(QStringLiteral("A1B2C3D4-E5F6-4711-8899-AABBCCDDEEFF")));
}

TEST(PlannerArchive, decode_failures_describeWhatIsWrong)
{
    const auto description = [](const QByteArray &bytes) {
        try {
            PlannerArchive::decode(bytes);
        } catch (const PersistenceError &error) {
            return error.description();
        }
        return QString();
    };
    json document = validDocument();
    document.erase("days");
    EXPECT_TRUE(description(QByteArray::fromStdString(document.dump())).contains(u"«days»"));
    document = validDocument();
    document["tasks"][1]["createdAt"] = "2025-03-01";
    EXPECT_TRUE(
        description(QByteArray::fromStdString(document.dump())).contains(u"«tasks[1].createdAt»"));
    EXPECT_TRUE(description("{\"version\": 1,").contains(u"JSON"));
    EXPECT_TRUE(description("").contains(u"JSON"));
}

TEST(PlannerArchive, encode_ofInstantsBeyondFourDigitYears_staysReadable)
{
    using namespace std::chrono;
    PlannerArchive archive;
    archive.savedAt = Instant(sys_days(year(12000) / 1 / 1));
    archive.days = {{Instant(sys_days(year(-40) / 1 / 1)), std::nullopt}};

    const PlannerArchive back = PlannerArchive::decode(archive.encode());

    EXPECT_EQ(back.savedAt, at("9999-12-31T23:59:59Z"));
    EXPECT_EQ(back.days[0].date, at("0000-01-01T00:00:00Z"));
}
