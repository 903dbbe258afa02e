#include "shell/tray/TrayController.h"

#include "model/Clock.h"
#include "model/PlannerStore.h"
#include "shell/tray/TrayPanel.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QSystemTrayIcon>

#include <gtest/gtest.h>

namespace furrow {
namespace {

TEST(TrayControllerTest, withoutTrayHost_runsWithoutIcon_andWaitsForOne)
{
    if (QSystemTrayIcon::isSystemTrayAvailable())
        GTEST_SKIP() << "a tray host is running";
    ModelContext context;
    TrayController tray(
        context, [] {}, [] {});
    EXPECT_EQ(tray.trayIcon(), nullptr);
    EXPECT_TRUE(tray.findChild<QTimer *>(QStringLiteral("trayAvailabilityPoll"))->isActive());
}

TEST(TrayControllerTest, count_followsTheDay)
{
    Clock::setNow(instantFromDateTime(QDateTime(QDate(2026, 5, 4), QTime(22, 0))));
    ModelContext context;
    PlannerStore store(context);
    store.close(*store.capture(QStringLiteral("Water plants"), nullptr, nullptr));
    TrayController tray(
        context, [] {}, [] {});
    EXPECT_EQ(tray.shownCount(), 1);

    auto *dayTimer = tray.findChild<QTimer *>(QStringLiteral("trayDayTimer"));
    ASSERT_TRUE(dayTimer->isActive());
    // Two hours to midnight, and a second more.
    EXPECT_NEAR(dayTimer->remainingTime(), 2 * 3600 * 1000 + 1000, 5000);
    Clock::setNow(instantFromDateTime(QDateTime(QDate(2026, 5, 5), QTime(0, 0, 1))));
    QMetaObject::invokeMethod(dayTimer, "timeout");
    EXPECT_EQ(tray.shownCount(), 0);
    EXPECT_TRUE(dayTimer->isActive());
    Clock::useSystemTime();
}

TEST(TrayControllerTest, panelPosition_besideTheIcon_insideTheScreen)
{
    const QRect screen(0, 0, 1920, 1080);
    const QRect available(0, 32, 1920, 1048);
    const QSize size(320, 400);
    // A top bar: centred under the icon.
    EXPECT_EQ(TrayController::panelPosition(QRect(1000, 4, 24, 24), size, available),
              QPoint(851, 34));
    // A bottom panel: above the icon.
    EXPECT_EQ(TrayController::panelPosition(QRect(1000, 1050, 24, 24), size, available),
              QPoint(851, 1050 - 6 - 400));
    // In the corner: pushed inside.
    EXPECT_EQ(TrayController::panelPosition(QRect(1900, 1050, 20, 24), size, screen),
              QPoint(1600, 644));
    EXPECT_EQ(TrayController::panelPosition(QRect(0, 0, 1, 1), size, available), QPoint(0, 32));
}

} // namespace
} // namespace furrow
