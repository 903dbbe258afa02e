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

TEST(SyncWire, values_decodeAsTheFirstCaseThatFits)
{
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
}

TEST(SyncWire, otherShapes_failWithTheStringAttemptsError)
{
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

TEST(SyncWire, documents_encodeCompactlyAndRoundTrip)
{
    const SyncBody body{{QStringLiteral("dueDate"), SyncValue::blank()},
                        {QStringLiteral("order"), SyncValue::number(-3)},
                        {QStringLiteral("done"), SyncValue::flag(false)},
                        {QStringLiteral("title"), SyncValue::text(QStringLiteral("Ünïcödé"))}};
    EXPECT_EQ(SyncBodyCoding::encode(body),
              QByteArray(R"({"done":false,"dueDate":null,"order":-3,"title":"Ünïcödé"})"));
    const SyncRequest request{
        QStringLiteral("DEVICE"),
        42,
        {{QStringLiteral("task"), QStringLiteral("A"), 1733400000063, true, body}}};
    EXPECT_EQ(SyncRequest::decode(request.encode()), request);
}

TEST(SyncWire, response_ignoresUnknownMembersAndKeepsUnknownKinds)
{
    const SyncResponse response = SyncResponse::decode(R"({"seq":1,"accepted":2,"more":true,
        "extra":[1],"changes":[{"kind":"goal","id":"x","updatedAt":5,"deleted":false,
        "body":{},"future":{"a":[]}}]})");
    ASSERT_EQ(response.changes.size(), 1u);
    EXPECT_EQ(response.changes[0].kind, QStringLiteral("goal"));
    EXPECT_TRUE(response.more);
    EXPECT_NO_THROW(SyncResponse::decode(R"({"seq":7,"accepted":0,"more":false,"changes":[]})"));
}

TEST(SyncWire, response_withAnyMemberMissingOrMisshapen_isRejectedWhole)
{
    const QByteArray record = R"({"kind":"task","id":"a","updatedAt":1,"deleted":false,"body":{}})";
    const auto withRecord = [](const QByteArray &changed) {
        return R"({"seq":1,"accepted":0,"more":false,"changes":[)" + changed + "]}";
    };
    const QByteArray documents[]
        = {"",
           "not json",
           "[]",
           R"({"seq":1,"accepted":0,"more":false})",
           R"({"seq":1,"more":false,"changes":[]})",
           R"({"seq":1,"accepted":0,"changes":[]})",
           R"({"seq":1.5,"accepted":0,"more":false,"changes":[]})",
           R"({"seq":1,"accepted":0,"more":1,"changes":[]})",
           R"({"seq":1,"accepted":0,"more":false,"changes":[]} trailing)",
           withRecord(QByteArray(record).replace(R"("deleted":false,)", "")),
           withRecord(QByteArray(record).replace(R"(,"body":{})", "")),
           withRecord(QByteArray(record).replace(R"("body":{})", R"("body":{"x":[]})")),
           withRecord(QByteArray(record).replace(R"("body":{})", R"("body":[])"))};
    EXPECT_NO_THROW(SyncResponse::decode(withRecord(record)));
    for (const QByteArray &document : documents)
        EXPECT_THROW(SyncResponse::decode(document), SyncWireError) << document.constData();
}

} // namespace
} // namespace furrow
