#include "TestPrinters.h"

#include "sync/SyncTime.h"

#include "model/Calendar.h"

#include <QDateTime>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace furrow {
namespace {

TEST(SyncTime, toWire_roundsHalfMillisecondsAwayFromZero)
{
    EXPECT_EQ(SyncTime::toWire(instantFromMicroseconds(1733400000062500)), 1733400000063);
    EXPECT_EQ(SyncTime::toWire(instantFromMicroseconds(-62500)), -63);
    EXPECT_EQ(SyncTime::toWire(instantFromMicroseconds(1733400000062499)), 1733400000062);
    EXPECT_EQ(SyncTime::toWire(distantPast()), -62135596800000);
}

TEST(SyncTime, fromWire_keepsMillisecondsAndSurvivesAbsurdValues)
{
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
}

TEST(SyncTime, dayId_usesTheLocalCalendarDay)
{
    // Tests run in Europe/Berlin: 23:30 UTC on 5 December is already 6 December there.
    const QDateTime late(QDate(2024, 12, 5), QTime(23, 30), QTimeZone::utc());
    EXPECT_EQ(SyncTime::dayId(instantFromDateTime(late)), QStringLiteral("2024-12-06"));
    const QDateTime early(QDate(7, 3, 9), QTime(12, 0), QTimeZone::utc());
    EXPECT_EQ(SyncTime::dayId(instantFromDateTime(early)), QStringLiteral("0007-03-09"));
}

} // namespace
} // namespace furrow
