#include "TestPrinters.h"

#include "sync/wire/SyncBodyCoding.h"
#include "sync/wire/SyncRequest.h"
#include "sync/wire/SyncResponse.h"
#include "sync/wire/SyncWireError.h"

#include <gtest/gtest.h>

namespace furrow {
namespace {

SyncValue decodeMember(const QByteArray &json)
{
    return SyncBodyCoding::decode("{\"v\":" + json + "}").at(QStringLiteral("v"));
}

struct ValueCase
{
    const char *json;
    SyncValue expected;
};

class SyncValueDecoding : public testing::TestWithParam<ValueCase>
{
};

TEST_P(SyncValueDecoding, decode_takesTheFirstCaseThatFits)
{
    EXPECT_EQ(decodeMember(GetParam().json), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Scalars, SyncValueDecoding,
    testing::Values(ValueCase{"true", SyncValue::flag(true)},
                    ValueCase{"false", SyncValue::flag(false)},
                    ValueCase{"1", SyncValue::number(1)}, ValueCase{"0", SyncValue::number(0)},
                    ValueCase{"\"1\"", SyncValue::text(QStringLiteral("1"))},
                    ValueCase{"null", SyncValue::blank()},
                    ValueCase{"-9223372036854775808", SyncValue::number(INT64_MIN)},
                    ValueCase{"9223372036854775807", SyncValue::number(INT64_MAX)},
                    ValueCase{"2.0", SyncValue::number(2)},
                    ValueCase{"\"gr\\u00fcn \\ud83c\\udf31\"",
                              SyncValue::text(QStringLiteral("grün 🌱"))}),
    [](const auto &info) { return "case" + std::to_string(info.index); });

class SyncValueRejection : public testing::TestWithParam<const char *>
{
};

TEST_P(SyncValueRejection, decode_failsTheWholeDocumentWithTheStringAttemptsError)
{
    try {
        decodeMember(GetParam());
        FAIL() << "decoded " << GetParam();
    } catch (const SyncWireError &error) {
        EXPECT_TRUE(error.description().contains(QStringLiteral("type must be string")))
            << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, SyncValueRejection,
                         testing::Values("[1]", "{\"a\":1}", "1.5", "9223372036854775808",
                                         "-9223372036854775809", "1e300"),
                         [](const auto &info) { return "shape" + std::to_string(info.index); });

TEST(SyncWire, blank_encodesAsAPresentNull)
{
    const SyncBody body{{QStringLiteral("dueDate"), SyncValue::blank()},
                        {QStringLiteral("order"), SyncValue::number(-3)},
                        {QStringLiteral("done"), SyncValue::flag(false)},
                        {QStringLiteral("title"), SyncValue::text(QStringLiteral("Ünïcödé"))}};
    const QByteArray json = SyncBodyCoding::encode(body);
    EXPECT_EQ(json, QByteArray(R"({"done":false,"dueDate":null,"order":-3,"title":"Ünïcödé"})"));
    EXPECT_EQ(SyncBodyCoding::decode(json), body);
}

TEST(SyncWire, request_roundTripsThroughCompactJson)
{
    SyncRequest request{QStringLiteral("DEVICE"), 42, {}};
    request.changes.push_back({QStringLiteral("task"),
                               QStringLiteral("6F9619FF-8B86-D011-B42D-00C04FC964FF"),
                               1733400000063,
                               false,
                               {{QStringLiteral("e"), SyncValue::text(QStringLiteral("QUJD"))}}});
    const QByteArray json = request.encode();
    EXPECT_FALSE(json.contains(' '));
    EXPECT_FALSE(json.contains('\n'));
    EXPECT_EQ(SyncRequest::decode(json), request);
}

TEST(SyncWire, response_withNoChangesAndNoMore_isValid)
{
    const SyncResponse response
        = SyncResponse::decode(R"({"seq":7,"accepted":0,"more":false,"changes":[]})");
    EXPECT_EQ(response.seq, 7);
    EXPECT_FALSE(response.more);
    EXPECT_TRUE(response.changes.empty());
}

TEST(SyncWire, response_ignoresUnknownMembersAndKeepsUnknownKinds)
{
    const SyncResponse response = SyncResponse::decode(R"({"seq":1,"accepted":2,"more":true,
        "extra":[1,2],"changes":[{"kind":"goal","id":"x","updatedAt":5,"deleted":false,
        "body":{},"future":{"a":[]}}]})");
    ASSERT_EQ(response.changes.size(), 1u);
    EXPECT_EQ(response.changes[0].kind, QStringLiteral("goal"));
    EXPECT_TRUE(response.more);
}

class SyncResponseRejection : public testing::TestWithParam<const char *>
{
};

TEST_P(SyncResponseRejection, decode_rejectsTheWholeResponse)
{
    EXPECT_THROW(SyncResponse::decode(GetParam()), SyncWireError) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(
    Documents, SyncResponseRejection,
    testing::Values("", "not json", "[]", R"({"seq":1,"accepted":0,"more":false})",
                    R"({"seq":1,"more":false,"changes":[]})",
                    R"({"seq":1,"accepted":0,"changes":[]})",
                    R"({"seq":1.5,"accepted":0,"more":false,"changes":[]})",
                    R"({"seq":"1","accepted":0,"more":false,"changes":[]})",
                    R"({"seq":1,"accepted":0,"more":1,"changes":[]})",
                    R"({"seq":1,"accepted":0,"more":false,"changes":{}})",
                    R"({"seq":1,"accepted":0,"more":false,"changes":[]} trailing)",
                    R"({"seq":1,"accepted":0,"more":false,"changes":[{"kind":"task","id":"a",
                        "updatedAt":1,"deleted":false}]})",
                    R"({"seq":1,"accepted":0,"more":false,"changes":[{"kind":"task","id":"a",
                        "updatedAt":1,"body":{}}]})",
                    R"({"seq":1,"accepted":0,"more":false,"changes":[{"kind":"task","id":"a",
                        "updatedAt":1,"deleted":false,"body":{"x":[]}}]})",
                    R"({"seq":1,"accepted":0,"more":false,"changes":[{"kind":"task","id":"a",
                        "updatedAt":1,"deleted":false,"body":[]}]})"),
    [](const auto &info) { return "document" + std::to_string(info.index); });

TEST(SyncWire, missingMember_isNamedInTheDescription)
{
    try {
        SyncResponse::decode(R"({"seq":1,"more":false,"changes":[]})");
        FAIL();
    } catch (const SyncWireError &error) {
        EXPECT_TRUE(error.description().contains(QStringLiteral("accepted"))) << error.what();
    }
}

} // namespace
} // namespace furrow
