#include "shell/UndoRouting.h"

#include "model/Clock.h"
#include "model/LiveRecords.h"
#include "model/PlannerStore.h"
#include "model/VectorStore.h"
#include "views/board/PageView.h"
#include "views/board/TaskRow.h"
#include "views/main/MainWindow.h"
#include "views/widgets/TaskBox.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace furrow {
namespace {

using namespace Qt::StringLiterals;

// A window with a text field and the application's Undo and Redo shortcuts.
class UndoRoutingTest : public ::testing::Test
{
protected:
    UndoRoutingTest()
    {
        context.setUndoHistory(&history);
        qApp->installEventFilter(&routing);
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(field);
        layout->addWidget(other);
        auto *undo = new QAction(&window);
        undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
        undo->setShortcutContext(Qt::ApplicationShortcut);
        QObject::connect(undo, &QAction::triggered, &routing, &UndoRouting::undo);
        window.addAction(undo);
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    ~UndoRoutingTest() override { qApp->removeEventFilter(&routing); }

    // A page renamed in a step of its own.
    Page *renamedPage()
    {
        Page *page = store.createPage(QStringLiteral("Before"), QStringLiteral("house"));
        QApplication::processEvents();
        store.rename(*page, QStringLiteral("After"));
        QApplication::processEvents();
        return page;
    }

    UndoHistory history;
    ModelContext context;
    PlannerStore store{context};
    UndoRouting routing{context};
    QWidget window;
    QLineEdit *field = new QLineEdit;
    QLineEdit *other = new QLineEdit;
};

TEST_F(UndoRoutingTest, typedTextIsUndoneBeforeTheRecords_andAFieldWithNothingLeftDefers)
{
    Page *page = renamedPage();
    field->setFocus();
    QTest::keyClicks(field, QStringLiteral("abc"));
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_EQ(page->name(), QStringLiteral("After"));

    other->setFocus();
    QTest::keyClick(other, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(page->name(), QStringLiteral("Before"));
    EXPECT_FALSE(context.hasChanges()) << "the reverted state is saved";
}

TEST_F(UndoRoutingTest, closingByTheCheckBox_isUndoneInOneStep)
{
    VectorStore goals;
    MainWindow main(context, goals);
    // As the application does: each showing tidies the store and opens the starter page.
    QObject::connect(&main, &MainWindow::shown, &main,
                     [&] { main.openOn(*store.runHousekeeping()); });
    main.show();
    QApplication::setActiveWindow(&main);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    // Showing the window made the starter page and shows it.
    Section *today
        = liveOn(context.fetchAll<Section>(), live(context.fetchAll<Page>()).front()).front();
    std::vector<TaskItem *> tasks;
    for (const char *title : {"a", "b", "c"})
        tasks.push_back(store.capture(QString::fromUtf8(title), today, nullptr));
    QApplication::processEvents();
    QApplication::processEvents();

    QTest::mouseClick(main.findChild<PageView *>(u"pageView"_s)
                          ->row(tasks[0]->id())
                          ->findChild<TaskBox *>(u"checkBox"_s),
                      Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_TRUE(tasks[0]->isDone());
    ASSERT_EQ(tasks[1]->order(), 0);
    ASSERT_EQ(store.dayPlan(Clock::now())->closedCount(), 1);

    routing.undo();
    EXPECT_FALSE(tasks[0]->isDone());
    EXPECT_FALSE(tasks[0]->doneAt());
    EXPECT_EQ(tasks[0]->order(), 0);
    EXPECT_EQ(tasks[1]->order(), 1);
    EXPECT_EQ(tasks[2]->order(), 2);
    EXPECT_EQ(store.dayPlan(Clock::now())->closedCount(), 0);
    EXPECT_FALSE(context.hasChanges());
}

} // namespace
} // namespace furrow
