#include "shell/tray/TrayLabel.h"

#include "model/Clock.h"
#include "model/PlannerStore.h"

#include <QDateTime>
#include <QImage>
#include <QPalette>

#include <gtest/gtest.h>

namespace furrow {
namespace {

constexpr int kSide = 48;

int alphaAt(const QImage &image, QPointF point)
{
    return qAlpha(image.pixel(point.toPoint()));
}

// What the label for `closed` shows: which squares are filled and whether the mark is there.
struct Drawn
{
    std::vector<bool> filled;
    bool mark = false;
    bool operator==(const Drawn &) const = default;
};

Drawn drawnLabel(qint64 closed)
{
    const QImage image
        = TrayLabel::render(closed, kSide, 1, TrayLabel::Tone::ForLightPanel).toImage();
    Drawn drawn;
    for (int i = 0; i < 3; ++i) {
        const QRect box = TrayLabel::squareRect(i, kSide);
        // Every square has its outline; only a filled one is solid in the middle.
        EXPECT_GT(alphaAt(image, QPointF(box.left(), box.center().y())), 100) << i;
        drawn.filled.push_back(alphaAt(image, box.center()) > 200);
    }
    drawn.mark = alphaAt(image, TrayLabel::markRect(kSide).center()) > 100;
    return drawn;
}

TEST(TrayLabelTest, squaresAndMark_followTodaysClosedCount)
{
    EXPECT_EQ(drawnLabel(0), (Drawn{{false, false, false}, false}));
    EXPECT_EQ(drawnLabel(2), (Drawn{{true, true, false}, false}));
    EXPECT_EQ(drawnLabel(3), (Drawn{{true, true, true}, false}));
    EXPECT_EQ(drawnLabel(4), (Drawn{{true, true, true}, true}));
    EXPECT_EQ(drawnLabel(7), (Drawn{{true, true, true}, true}));
}

TEST(TrayLabelTest, tone_followsThePanelsLightness)
{
    QPalette light;
    light.setColor(QPalette::Window, QColor(0xF0, 0xF0, 0xF0));
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x22, 0x22, 0x22));
    EXPECT_EQ(TrayLabel::toneFor(light), TrayLabel::Tone::ForLightPanel);
    EXPECT_EQ(TrayLabel::toneFor(dark), TrayLabel::Tone::ForDarkPanel);

    const QPoint middle = TrayLabel::squareRect(0, kSide).center();
    const QColor onLight = TrayLabel::render(1, kSide, 1, TrayLabel::Tone::ForLightPanel)
                               .toImage()
                               .pixelColor(middle);
    const QColor onDark = TrayLabel::render(1, kSide, 1, TrayLabel::Tone::ForDarkPanel)
                              .toImage()
                              .pixelColor(middle);
    EXPECT_LT(onLight.lightnessF(), 0.3);
    EXPECT_GT(onDark.lightnessF(), 0.7);
}

TEST(TrayLabelTest, closedCount_takesOnlyActiveTasksClosedToday)
{
    const QDate today(2026, 3, 11);
    Clock::setNow(instantFromDateTime(QDateTime(today.addDays(-1), QTime(23, 50))));
    ModelContext context;
    PlannerStore store(context);
    TaskItem *yesterday = store.capture(QStringLiteral("Yesterday"), nullptr, nullptr);
    TaskItem *early = store.capture(QStringLiteral("Just after midnight"), nullptr, nullptr);
    TaskItem *archived = store.capture(QStringLiteral("Filed away"), nullptr, nullptr);
    store.capture(QStringLiteral("Still open"), nullptr, nullptr);
    store.close(*yesterday);
    Clock::setNow(instantFromDateTime(QDateTime(today, QTime(0, 0, 1))));
    store.close(*early);
    store.close(*archived);
    store.archive(*archived);
    Clock::setNow(instantFromDateTime(QDateTime(today, QTime(23, 59))));

    EXPECT_TRUE(yesterday->isDone());
    EXPECT_EQ(store.closedTodayCount(), 1);
    EXPECT_EQ(drawnLabel(store.closedTodayCount()), (Drawn{{true, false, false}, false}));
    Clock::useSystemTime();
}

} // namespace
} // namespace furrow
