#include "TrayFixture.h"

#include "../views/Rendering.h"
#include "shell/tray/TrayLabel.h"
#include "views/theme/FontLoader.h"
#include "views/theme/Theme.h"

#include <QDir>
#include <QPainter>

#include <gtest/gtest.h>

namespace furrow {
namespace {

class TrayRenderingTest : public testing::Test, protected TrayFixture
{
protected:
    void SetUp() override { FontLoader::registerBundledFonts(); }
};

TEST_F(TrayRenderingTest, panel_isRenderedForReview)
{
    Page *page = store.createPage(QStringLiteral("Inbox"), QStringLiteral("tray"));
    Section *today = store.createSection(QStringLiteral("Today"), *page);
    for (const char *title : {"Call the plumber about the kitchen tap that keeps dripping at night",
                              "Pay rent", "Send the slides to Mira"})
        store.capture(QString::fromUtf8(title), today, nullptr);
    section(*page, QStringLiteral("Next"), 2);
    section(*page, QStringLiteral("Later"), 0);
    store.close(*store.tasks(today)[1]);

    TrayPanel panel(context);
    panel.show();
    settleEvents();
    const QString path = saveRendering(&panel, QStringLiteral("tray-panel"));
    EXPECT_FALSE(QImage(path).isNull());
}

TEST_F(TrayRenderingTest, labels_areRenderedForReview)
{
    // The two smallest tray sizes, magnified four times without smoothing, for 0 to 4 closed
    // tasks on a light and on a dark panel.
    constexpr int zoom = 4;
    const QColor panels[] = {Theme::paper, QColor(0x2B, 0x2B, 0x2B)};
    const TrayLabel::Tone tones[] = {TrayLabel::Tone::ForLightPanel, TrayLabel::Tone::ForDarkPanel};
    QImage sheet(QSize(5 * 22 * zoom, 2 * (16 + 22) * zoom), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&sheet);
    int top = 0;
    for (int tone = 0; tone < 2; ++tone) {
        for (int side : {16, 22}) {
            painter.fillRect(0, top, sheet.width(), side * zoom, panels[tone]);
            for (int closed = 0; closed < 5; ++closed) {
                const QImage label = TrayLabel::render(closed, side, 1, tones[tone]).toImage();
                painter.drawImage(closed * 22 * zoom, top,
                                  label.scaled(label.size() * zoom, Qt::IgnoreAspectRatio,
                                               Qt::FastTransformation));
            }
            top += side * zoom;
        }
    }
    painter.end();
    const QString folder = QStringLiteral(FURROW_RENDERINGS_DIR);
    QDir().mkpath(folder);
    EXPECT_TRUE(sheet.save(folder + QStringLiteral("/tray-labels.png")));
}

} // namespace
} // namespace furrow
