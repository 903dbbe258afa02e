#include "CaptureFixture.h"

#include "Rendering.h"
#include "Windows.h"
#include "shell/capture/PanelActivation.h"
#include "shell/capture/QuickCaptureController.h"
#include "shell/capture/QuickCapturePanel.h"
#include "views/theme/FontLoader.h"

#include <QApplication>
#include <QTest>

namespace furrow {
namespace {

using namespace Qt::StringLiterals;

TEST(PanelActivationTest, userTime_isReadFromTheEndOfAStartupId)
{
    EXPECT_EQ(PanelActivation::userTime("kwin-1234-host-furrow_TIME87654321"), 87654321u);
    EXPECT_EQ(PanelActivation::userTime("_TIME0"), 0u);
    EXPECT_EQ(PanelActivation::userTime(""), std::nullopt);
    EXPECT_EQ(PanelActivation::userTime("wayland-token-abc"), std::nullopt);
    EXPECT_EQ(PanelActivation::userTime("id_TIME"), std::nullopt);
    EXPECT_EQ(PanelActivation::userTime("id_TIME12x"), std::nullopt);
    EXPECT_EQ(PanelActivation::userTime("id_TIME99999999999"), std::nullopt);
}

class QuickCaptureControllerTest : public test::CaptureFixture
{
protected:
    static QWidget *panel() { return test::topLevel(u"quickCapturePanel"_s); }
    QWidget *view() const { return panel()->findChild<QWidget *>("quickCaptureView"); }
    QLineEdit *field() const { return CaptureFixture::field(panel()); }

    static QWidgetList visibleWindows()
    {
        QWidgetList result;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible())
                result << widget;
        }
        return result;
    }

    QuickCaptureController controller{context};
};

TEST_F(QuickCaptureControllerTest, show_opensOnlyTheFloatingPanel_withTheFieldFocused)
{
    const QWidgetList before = visibleWindows();
    controller.show();
    QWidget *shown = panel();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(controller.isShown());
    const Qt::WindowFlags flags = shown->windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(flags & Qt::FramelessWindowHint);
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(shown->size(), QSize(560, 138));

    QWidgetList after = visibleWindows();
    after.removeOne(shown);
    EXPECT_EQ(after, before);
    EXPECT_TRUE(QTest::qWaitFor([this] { return field()->hasFocus(); }));
}

TEST_F(QuickCaptureControllerTest, toggle_hidesAndShowsTheSamePanel_withAFreshField)
{
    controller.toggle();
    QWidget *first = panel();
    QTest::keyClicks(field(), QStringLiteral("Lost on hiding"));
    controller.toggle();
    EXPECT_FALSE(controller.isShown());
    EXPECT_TRUE(store.allTasks().empty());

    controller.toggle();
    EXPECT_TRUE(controller.isShown());
    EXPECT_EQ(panel(), first);
    EXPECT_TRUE(field()->text().isEmpty());
}

TEST_F(QuickCaptureControllerTest, dismissingTheView_hidesThePanel)
{
    controller.show();
    QTest::keyClick(field(), Qt::Key_Escape);
    EXPECT_FALSE(controller.isShown());

    controller.show();
    QTest::keyClicks(field(), QStringLiteral("Book flights"));
    QTest::keyClick(field(), Qt::Key_Return);
    EXPECT_FALSE(controller.isShown());
    EXPECT_EQ(store.allTasks().size(), 1u);
}

TEST_F(QuickCaptureControllerTest, rendering_showsCardFieldAndChips)
{
    FontLoader::registerBundledFonts();
    for (const char *name : {"Home", "Finance-Q3", "Side project", "Reading", "Garden", "Health"})
        store.createProject(QString::fromUtf8(name));
    controller.show();
    QTest::mouseClick(chipNamed(panel(), QStringLiteral("Finance-Q3")), Qt::LeftButton);
    QApplication::processEvents();
    saveRendering(panel(), QStringLiteral("quick-capture-chips"));
    QTest::keyClicks(field(), QStringLiteral("Call the bank about the #ho"));
    QApplication::processEvents();
    const QString path = saveRendering(panel(), QStringLiteral("quick-capture-typing"));
    EXPECT_FALSE(QImage(path).isNull());
}

} // namespace
} // namespace furrow
