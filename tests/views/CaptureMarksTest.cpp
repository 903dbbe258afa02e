// Due days read from what is typed in the board's capture fields: marked as they appear,
// turned back into text by Backspace or Ctrl+Z, filed on Return.

#include "BoardFixture.h"
#include "model/UndoHistory.h"
#include "views/board/ComposeLine.h"
#include "views/board/InlineField.h"
#include "views/board/TitleEditor.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>

using namespace furrow;

TEST_F(BoardTest, compose_marksTheDatePhraseAsTyped_andBackspaceAfterItUnmarksIt)
{
    ComposeLine *line = block(inFlight)->composeLine();
    QTest::mouseClick(line->findChild<QAbstractButton *>(u"prompt"_s), Qt::LeftButton);
    settle();
    InlineField *field = line->findChild<InlineField *>(u"composeField"_s);
    ASSERT_TRUE(field);
    QTest::keyClicks(field, QStringLiteral("Call the bank tomorrow"));
    EXPECT_EQ(field->accessibleDescription(), QStringLiteral("Wed 11 Aug"));
    QTest::keyClicks(field, QStringLiteral("x"));
    EXPECT_EQ(field->accessibleDescription(), QString()) << "tomorrowx is no phrase";
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(field->accessibleDescription(), QStringLiteral("Wed 11 Aug"));

    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(field->text(), QStringLiteral("Call the bank tomorrow"))
        << "unmarks, deletes nothing";
    EXPECT_EQ(field->accessibleDescription(), QString());
    QTest::keyClick(field, Qt::Key_Return);
    settle();
    TaskItem *filed = PlannerStore(context).tasks(inFlight).back();
    EXPECT_EQ(filed->title(), QStringLiteral("Call the bank tomorrow"));
    EXPECT_FALSE(filed->dueDate());

    // The emptied field is a new capture: the phrase is read again.
    QTest::keyClicks(field, QStringLiteral("Pay rent tomorrow #home"));
    EXPECT_EQ(field->accessibleDescription(), QStringLiteral("Project home, Wed 11 Aug"));
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(field->accessibleDescription(), QStringLiteral("Wed 11 Aug")) << "Ctrl+Z unmarks";
    QTest::keyClick(field, Qt::Key_Return);
    settle();
    filed = PlannerStore(context).tasks(inFlight).back();
    EXPECT_EQ(filed->title(), QStringLiteral("Pay rent #home"));
    EXPECT_EQ(filed->project(), nullptr);
    EXPECT_EQ(filed->dueDate(), localTime(2021, 8, 11));
}

TEST_F(BoardTest, titleEditor_marksAndFilesTheDueDayOnReturn)
{
    TaskRow *editing = row(second);
    editing->beginEdit();
    settle();
    TitleEditor *editor = titleEditor(editing);
    editor->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor, QStringLiteral(" by fri"));
    EXPECT_EQ(editor->accessibleDescription(), QStringLiteral("Fri 13 Aug"));
    EXPECT_EQ(editor->extraSelections().size(), 1);
    QTest::keyClick(editor, Qt::Key_Return);
    settle();
    EXPECT_EQ(second->title(), QStringLiteral("Send the invoice by"));
    EXPECT_EQ(second->dueDate(), localTime(2021, 8, 13));
}

TEST_F(BoardTest, compose_pastedLines_showTheirCountAndFileOneTaskEach_undoneInOneStep)
{
    UndoHistory history;
    context.setUndoHistory(&history);
    ComposeLine *line = block(later)->composeLine();
    QTest::mouseClick(line->findChild<QAbstractButton *>(u"prompt"_s), Qt::LeftButton);
    settle();
    InlineField *field = line->findChild<InlineField *>(u"composeField"_s);
    QApplication::clipboard()->setText(
        QStringLiteral("Buy milk tomorrow\n\nCall mum #home\r\nRead"));
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    auto *count = line->findChild<QLabel *>(u"pastedTasks"_s);
    ASSERT_TRUE(count);
    EXPECT_FALSE(count->isHidden());
    EXPECT_EQ(count->text(), QStringLiteral("3 tasks"));
    QTest::keyClick(field, Qt::Key_Return);
    settle();

    const auto filed = PlannerStore(context).tasks(later);
    ASSERT_EQ(filed.size(), 3u);
    EXPECT_EQ(filed[0]->title(), QStringLiteral("Buy milk"));
    EXPECT_EQ(filed[0]->dueDate(), localTime(2021, 8, 11));
    EXPECT_EQ(filed[1]->project(), home);
    EXPECT_EQ(filed[2]->title(), QStringLiteral("Read"));
    EXPECT_TRUE(count->isHidden());

    EXPECT_TRUE(PlannerStore(context).undo());
    settle();
    EXPECT_TRUE(PlannerStore(context).tasks(later).empty());
    context.setUndoHistory(nullptr);
}
