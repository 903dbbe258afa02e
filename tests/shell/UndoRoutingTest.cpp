#include "shell/UndoRouting.h"

#include "model/PlannerStore.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace furrow {
namespace {

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

TEST_F(UndoRoutingTest, typedTextIsUndoneBeforeTheRecords)
{
    Page *page = renamedPage();
    field->setFocus();
    QTest::keyClicks(field, QStringLiteral("abc"));
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_EQ(page->name(), QStringLiteral("After"));
}

TEST_F(UndoRoutingTest, fieldWithNothingToUndo_letsThePlannerUndo)
{
    Page *page = renamedPage();
    other->setFocus();
    QTest::keyClick(other, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(page->name(), QStringLiteral("Before"));
    EXPECT_FALSE(context.hasChanges()) << "the reverted state is saved";
}

} // namespace
} // namespace furrow
