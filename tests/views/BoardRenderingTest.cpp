#include "BoardFixture.h"
#include "Rendering.h"
#include "model/PlannerStore.h"
#include "persistence/DemoSeed.h"
#include "views/board/ToolbarChip.h"

#include <QHBoxLayout>

using namespace furrow;

namespace {

// The demo planner's first page in a window of a realistic size, for people to review.
class BoardRendering : public testing::Test
{
protected:
    void SetUp() override
    {
        Clock::setNow(localTime(2021, 8, 10, 12));
        DemoSeed::run(context);
        window.resize(820, 720);
        window.setAutoFillBackground(true);
        auto *layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        menus = new MenuController(&window);
        view = new PageView(context, *menus, &window);
        layout->addWidget(view);
        addToolbar();
        view->setPage(PlannerStore(context).ensureStarterPage()->id());
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        settle();
    }
    void TearDown() override { Clock::useSystemTime(); }

    // A strip of chips like the main window's, so the renderings show them in place.
    void addToolbar()
    {
        auto *strip = new QWidget(&window);
        auto *layout = new QHBoxLayout(strip);
        layout->setContentsMargins(20, 12, 20, 12);
        layout->setSpacing(8);
        layout->addWidget(new ToolbarChip(QStringLiteral("sidebar.leading"), {},
                                          QStringLiteral("Hide the sidebar"), false));
        layout->addWidget(new ToolbarChip(QStringLiteral("plus"), QStringLiteral("Category"),
                                          QStringLiteral("Add a category"), true));
        layout->addStretch();
        layout->addWidget(new ToolbarChip(QStringLiteral("text.alignleft"),
                                          QStringLiteral("Hide notes"),
                                          QStringLiteral("Notes on task rows"), true));
        layout->addWidget(new ToolbarChip(QStringLiteral("rectangle.compress.vertical"),
                                          QStringLiteral("Compact rows"),
                                          QStringLiteral("Row height"), true));
        strip->setGeometry(0, 0, window.width(), ToolbarChip::kHeight + 24);
        strip->lower();
    }

    TaskRow *rowTitled(const QString &title) const
    {
        for (const SectionBlock *block : view->blocks()) {
            for (TaskRow *row : block->rows()) {
                if (row->content().title == title)
                    return row;
            }
        }
        return nullptr;
    }

    ModelContext context;
    QWidget window;
    MenuController *menus = nullptr;
    PageView *view = nullptr;
};

} // namespace

// Not checks: these leave renderings of the board in the build folder.
TEST_F(BoardRendering, demoPageWithAHoveredRow)
{
    TaskRow *row = rowTitled(QStringLiteral("Contract review"));
    ASSERT_NE(row, nullptr);
    hover(row);
    saveRendering(&window, QStringLiteral("board-hovered-row"));
}

TEST_F(BoardRendering, rowClickedThenLeft_looksLikeTheOthers)
{
    TaskRow *row = rowTitled(QStringLiteral("Contract review"));
    ASSERT_NE(row, nullptr);
    hover(row);
    QTest::mouseClick(row, Qt::LeftButton, {}, QPoint(4, 4));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(row, &leave);
    ASSERT_TRUE(row->hasFocus());
    ASSERT_FALSE(row->showsControls());
    saveRendering(&window, QStringLiteral("board-clicked-row-left"));
}
