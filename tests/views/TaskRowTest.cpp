#include "BoardFixture.h"
#include "Rendering.h"
#include "views/board/BoardState.h"
#include "views/board/NoteEditor.h"
#include "views/board/NoteText.h"
#include "views/board/RowControls.h"
#include "views/board/RowTrailing.h"
#include "views/board/TitleEditor.h"
#include "views/board/TitleText.h"
#include "views/menus/AnchoredButton.h"
#include "views/widgets/ProjectTag.h"
#include "views/widgets/TaskBox.h"
#include "views/widgets/TextLabel.h"

#include <QAccessible>
#include <QClipboard>
#include <QLabel>
#include <QSignalSpy>

using namespace furrow;

namespace {

class TaskRowTest : public BoardTest
{
protected:
    // The titles of the popup open now.
    QStringList menuTitles() const
    {
        return textsOf(menuRows(*menus), [](const MenuRow *option) { return option->text(); });
    }
    MenuRow *option(const QString &title) const { return menuRow(*menus, title); }
};

} // namespace

TEST_F(TaskRowTest, checkBox_closesAndReopens_andClosingTheSelectedTaskClearsTheSelection)
{
    view->state().setSelectedId(first->id());
    EXPECT_EQ(checkBox(row(first))->accessibleName(), QStringLiteral("Close task"));
    QTest::mouseClick(checkBox(row(first)), Qt::LeftButton);
    settle();
    EXPECT_TRUE(first->isDone());
    EXPECT_TRUE(view->state().selectedId().isNull());
    // Done tasks follow the open ones.
    EXPECT_EQ(rowIds(inFlight), (std::vector<QUuid>{second->id(), first->id()}));
    EXPECT_EQ(checkBox(row(first))->accessibleName(), QStringLiteral("Reopen task"));

    QTest::mouseClick(checkBox(row(first)), Qt::LeftButton);
    settle();
    EXPECT_FALSE(first->isDone());
    EXPECT_EQ(rowIds(inFlight), (std::vector<QUuid>{second->id(), first->id()}));
}

TEST_F(TaskRowTest, space_togglesTheFocusedRow_butTypesASpaceInAnOpenEditor)
{
    row(second)->setFocus();
    QTest::keyClick(row(second), Qt::Key_Space);
    EXPECT_TRUE(second->isDone());
    settle();
    row(second)->setFocus();
    QTest::keyClick(row(second), Qt::Key_Space);
    EXPECT_FALSE(second->isDone());
    settle();

    row(second)->beginEdit();
    settle();
    TitleEditor *editor = titleEditor(row(second));
    ASSERT_TRUE(editor->hasFocus());
    QTest::keyClick(editor, Qt::Key_Space);
    EXPECT_FALSE(second->isDone());
    EXPECT_TRUE(editor->text().endsWith(u' '));

    row(second)->beginNote();
    settle();
    QTest::keyClick(noteEditor(row(second)), Qt::Key_Space);
    EXPECT_FALSE(second->isDone());
}

TEST_F(TaskRowTest, titleEdit_showsTheProjectAsToken_commitsOnReturn_andDiscardsOnEscape)
{
    TaskRow *taskRow = row(first);
    QTest::mouseClick(titleText(taskRow), Qt::LeftButton);
    settle();
    ASSERT_TRUE(taskRow->isEditingTitle());
    EXPECT_EQ(view->state().selectedId(), first->id());
    EXPECT_EQ(titleEditor(taskRow)->text(), QStringLiteral("Write the summary #Work"));
    EXPECT_FALSE(taskRow->showsControls());

    titleEditor(taskRow)->setText(QStringLiteral("Write the summary twice"));
    QTest::keyClick(titleEditor(taskRow), Qt::Key_Escape);
    settle();
    EXPECT_FALSE(taskRow->isEditingTitle());
    EXPECT_TRUE(taskRow->hasFocus());
    EXPECT_EQ(first->title(), QStringLiteral("Write the summary"));

    QTest::keyClick(taskRow, Qt::Key_Return); // Return on the row opens the editor too
    settle();
    EXPECT_EQ(titleEditor(taskRow)->cursorPosition(), titleEditor(taskRow)->text().size());
    titleEditor(taskRow)->setText(QStringLiteral("Write the report #home"));
    QTest::keyClick(titleEditor(taskRow), Qt::Key_Return);
    settle();
    EXPECT_FALSE(taskRow->isEditingTitle());
    EXPECT_EQ(first->title(), QStringLiteral("Write the report"));
    EXPECT_EQ(first->project(), home);
    EXPECT_EQ(titleText(taskRow)->text(), QStringLiteral("Write the report"));
    EXPECT_EQ(trailing(taskRow)->tag()->text(), QStringLiteral("Home"));
}

TEST_F(TaskRowTest, titleEdit_ofAWrappingTitle_wrapsLikeIt_withTheCursorWhereTheClickFell)
{
    PlannerStore(context).applyInlineEdit(
        QStringLiteral("Go through the supplier contracts that end this year and list what each "
                       "one costs us now, with the people to call about them"),
        *second);
    settle();
    TitleText *title = titleText(row(second));
    const int lineHeight = title->fontMetrics().height();
    ASSERT_GE(title->height(), 2 * lineHeight);
    const int titleHeight = title->height();
    const QPoint onSecondLine(60, lineHeight + lineHeight / 2);
    const int clicked = title->positionAt(onSecondLine);
    ASSERT_GT(clicked, 20);
    saveRendering(&window, QStringLiteral("title-before-edit"));

    QTest::mouseClick(title, Qt::LeftButton, {}, onSecondLine);
    settle();
    TitleEditor *editor = titleEditor(row(second));
    ASSERT_NE(editor, nullptr);
    saveRendering(&window, QStringLiteral("title-while-edited"));
    EXPECT_TRUE(editor->hasFocus());
    EXPECT_EQ(editor->cursorPosition(), clicked);
    EXPECT_EQ(editor->lineCount(), titleHeight / lineHeight);
    EXPECT_NEAR(editor->height(), titleHeight, 2);
    EXPECT_NEAR(editor->width(), title->width(), 2);

    // A title stays one line: pasted line breaks become spaces.
    QGuiApplication::clipboard()->setText(QStringLiteral("first\nthen"));
    QTest::keySequence(editor, QKeySequence::Paste);
    EXPECT_FALSE(editor->text().contains(u'\n'));
    EXPECT_TRUE(editor->text().contains(QStringLiteral("first then")));
}

TEST_F(TaskRowTest, checkingTheBoxWhileEditing_savesTheTextFirst)
{
    row(second)->beginEdit();
    settle();
    titleEditor(row(second))->setText(QStringLiteral("Send the corrected invoice"));
    QTest::mouseClick(checkBox(row(second)), Qt::LeftButton);
    EXPECT_TRUE(second->isDone());
    EXPECT_EQ(second->title(), QStringLiteral("Send the corrected invoice"));
    EXPECT_FALSE(row(second)->isEditingTitle());
}

TEST_F(TaskRowTest, noteEdit_commitsTrimmed_rendersLinks_andEscapeKeepsTheOldNote)
{
    TaskRow *taskRow = row(second);
    hover(taskRow);
    ASSERT_TRUE(taskRow->showsControls());
    EXPECT_EQ(noteButton(taskRow)->toolTip(), QStringLiteral("Add a note"));
    QTest::mouseClick(noteButton(taskRow), Qt::LeftButton);
    settle();
    ASSERT_TRUE(taskRow->isEditingNote());
    EXPECT_TRUE(noteEditor(taskRow)->hasFocus());
    // A quiet hint tells what Return does here, while the editor is open.
    const auto *hint = taskRow->findChild<TextLabel *>(QStringLiteral("noteHint"));
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->isVisibleTo(taskRow));
    EXPECT_EQ(hint->text(), QStringLiteral("Return saves · Shift+Return new line"));
    QTest::keyClicks(noteEditor(taskRow), QStringLiteral("  see https://example.com  "));
    QTest::keyClick(noteEditor(taskRow), Qt::Key_Return);
    settle();
    EXPECT_EQ(taskRow->findChild<TextLabel *>(QStringLiteral("noteHint")), nullptr);
    EXPECT_EQ(second->note(), QStringLiteral("see https://example.com"));
    ASSERT_NE(noteText(taskRow), nullptr);
    EXPECT_TRUE(noteText(taskRow)->isVisibleTo(taskRow));
    const int overLink = QFontMetrics(noteText(taskRow)->font()).horizontalAdvance("see ") + 8;
    EXPECT_EQ(noteText(taskRow)->linkAt(QPoint(overLink, 6)),
              QStringLiteral("https://example.com"));
    EXPECT_EQ(noteButton(taskRow)->toolTip(), QStringLiteral("Edit the note"));

    QTest::mouseDClick(noteText(taskRow), Qt::LeftButton);
    settle();
    ASSERT_TRUE(taskRow->isEditingNote());
    EXPECT_EQ(noteEditor(taskRow)->toPlainText(), second->note());
    noteEditor(taskRow)->setPlainText(QStringLiteral("something else"));
    QTest::keyClick(noteEditor(taskRow), Qt::Key_Escape);
    settle();
    EXPECT_FALSE(taskRow->isEditingNote());
    EXPECT_EQ(second->note(), QStringLiteral("see https://example.com"));
}

TEST_F(TaskRowTest, blankNote_countsAsNone_andHiddenNotesReturnWhileEditing)
{
    PlannerStore(context).setNote(QStringLiteral("   "), *second);
    settle();
    TaskRow *taskRow = row(second);
    const auto noteShown = [taskRow] {
        return noteText(taskRow) && noteText(taskRow)->isVisibleTo(taskRow);
    };
    hover(taskRow);
    EXPECT_FALSE(noteShown());
    EXPECT_EQ(noteButton(taskRow)->toolTip(), QStringLiteral("Add a note"));
    EXPECT_FALSE(titleText(taskRow)->showsNoteDot());

    PlannerStore(context).setNote(QStringLiteral("Remember the VAT"), *second);
    view->setNotesHidden(true);
    settle();
    EXPECT_FALSE(noteShown());
    EXPECT_TRUE(titleText(taskRow)->showsNoteDot());
    taskRow->beginNote();
    settle();
    EXPECT_TRUE(noteEditor(taskRow)->isVisibleTo(taskRow));
}

TEST_F(TaskRowTest, rowMenu_movesToAnotherSection_withTheOwnSectionCheckedAndDisabled)
{
    row(first)->openMenu();
    EXPECT_EQ(menuTitles(),
              (QStringList{"In flight", "Later", "Change the project…", "Drop to archive"}));
    MenuRow *own = option(QStringLiteral("In flight"));
    EXPECT_TRUE(own->isChecked());
    EXPECT_FALSE(own->isEnabled());
    QTest::mouseClick(own, Qt::LeftButton);
    EXPECT_EQ(first->section(), inFlight);

    QTest::mouseClick(option(QStringLiteral("Later")), Qt::LeftButton);
    settle();
    EXPECT_FALSE(menus->isOpen());
    EXPECT_EQ(first->section(), later);
    EXPECT_EQ(rowIds(later), std::vector<QUuid>{first->id()});
}

TEST_F(TaskRowTest, rowMenu_offersClearTheDateOnlyForADatedTask)
{
    row(second)->openMenu();
    EXPECT_EQ(option(QStringLiteral("Clear the date")), nullptr);
    menus->close();
    PlannerStore(context).setDueDate(localTime(2021, 8, 12, 12), *second);
    settle();
    EXPECT_EQ(row(second)->findChild<QLabel *>(u"dueLabel"_s)->text(), QStringLiteral("12 Aug"));
    row(second)->openMenu();
    EXPECT_EQ(menuTitles().mid(2),
              (QStringList{"Set a project…", "Clear the date", "Drop to archive"}));
    QTest::mouseClick(option(QStringLiteral("Clear the date")), Qt::LeftButton);
    EXPECT_FALSE(second->dueDate());
}

TEST_F(TaskRowTest, projectPicker_fromTheMenuOrTheTag_setsOrRemovesTheProject)
{
    row(second)->openMenu();
    QTest::mouseClick(option(QStringLiteral("Set a project…")), Qt::LeftButton);
    EXPECT_EQ(menuTitles(), (QStringList{"No project", "Work", "Home", "Manage projects…"}));
    EXPECT_TRUE(option(QStringLiteral("No project"))->isChecked());
    QTest::mouseClick(option(QStringLiteral("Home")), Qt::LeftButton);
    EXPECT_EQ(second->project(), home);
    EXPECT_FALSE(menus->isOpen());
    settle();

    QTest::mouseClick(trailing(row(second))->tag(), Qt::LeftButton);
    EXPECT_TRUE(option(QStringLiteral("Home"))->isChecked());
    QTest::mouseClick(option(QStringLiteral("No project")), Qt::LeftButton);
    EXPECT_EQ(second->project(), nullptr);
    settle();

    // "Manage projects…" asks the window for the project settings and leaves the task alone.
    QSignalSpy settings(menus, &MenuController::projectSettingsRequested);
    QTest::mouseClick(trailing(row(second))->tag(), Qt::LeftButton);
    QTest::mouseClick(option(QStringLiteral("Manage projects…")), Qt::LeftButton);
    EXPECT_EQ(settings.count(), 1);
    EXPECT_FALSE(menus->isOpen());
    EXPECT_EQ(second->project(), nullptr);
}

TEST_F(TaskRowTest, doneTask_showsOnlyFileItNow_whichArchivesIt)
{
    PlannerStore(context).close(*second);
    settle();
    TaskRow *taskRow = row(second);
    hover(taskRow);
    RowControls *controls = taskRow->controls();
    ASSERT_TRUE(controls->isForDone());
    EXPECT_EQ(controls->findChild<AnchoredButton *>(u"dateButton"_s), nullptr);
    EXPECT_EQ(controls->findChild<IconButton *>(u"fileButton"_s)->toolTip(),
              QStringLiteral("File it now"));
    QTest::mouseClick(titleText(taskRow), Qt::LeftButton);
    EXPECT_FALSE(taskRow->isEditingTitle());
    QTest::mouseClick(controls->findChild<IconButton *>(u"fileButton"_s), Qt::LeftButton);
    EXPECT_TRUE(second->isArchived());
    settle();
    EXPECT_EQ(view->row(second->id()), nullptr);
}

TEST_F(TaskRowTest, look_followsThePointerOrTheKeyboard_notAClick_andLightsOneRowAtATime)
{
    TaskRow *upper = row(first);
    TaskRow *lower = row(second);
    const auto leave = [](QWidget *widget) {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(widget, &event);
    };
    const auto lit = [&] {
        return std::vector<bool>{upper->showsControls(), lower->showsControls()};
    };

    // A click focuses the row; once the pointer leaves, neither the fill nor the controls stay,
    // and the hairline under it is back.
    hover(upper);
    QTest::mouseClick(upper, Qt::LeftButton, {}, QPoint(4, 4));
    ASSERT_TRUE(upper->hasFocus());
    EXPECT_EQ(lit(), (std::vector<bool>{true, false}));
    leave(upper);
    EXPECT_EQ(lit(), (std::vector<bool>{false, false}));
    EXPECT_FALSE(trailing(upper)->controlsShown());
    EXPECT_EQ(lower->separatorOpacity(), 1);
    // The pointer on the other row lights that row only, though the clicked one has the focus.
    hover(lower);
    EXPECT_EQ(lit(), (std::vector<bool>{false, true}));
    leave(lower);

    // Focus from the keyboard lights the row without the pointer, gives way to the pointer on
    // another row, and lights it again when the pointer leaves that row.
    lower->setFocus(Qt::TabFocusReason);
    upper->setFocus(Qt::BacktabFocusReason);
    EXPECT_EQ(lit(), (std::vector<bool>{true, false}));
    EXPECT_EQ(lower->separatorOpacity(), 0);
    hover(lower);
    EXPECT_EQ(lit(), (std::vector<bool>{false, true}));
    leave(lower);
    EXPECT_EQ(lit(), (std::vector<bool>{true, false}));
    // A click elsewhere takes the keyboard's focus and its look away.
    QTest::mouseClick(lower, Qt::LeftButton, {}, QPoint(4, 4));
    leave(lower);
    EXPECT_EQ(lit(), (std::vector<bool>{false, false}));
}

TEST_F(TaskRowTest, keyboard_tabGoesThroughTheRowsControls_andArrowsWalkTheRows)
{
    PlannerStore(context).capture(QStringLiteral("A late arrival"), inFlight, nullptr);
    settle();
    row(first)->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(row(first)->showsControls());
    const auto tab = [] {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    };
    tab();
    EXPECT_EQ(QApplication::focusWidget(),
              row(first)->controls()->findChild<AnchoredButton *>(u"dateButton"_s));
    tab();
    tab();
    EXPECT_EQ(QApplication::focusWidget(),
              row(first)->controls()->findChild<AnchoredButton *>(u"menuButton"_s));
    tab();
    EXPECT_EQ(QApplication::focusWidget(), row(second));
    EXPECT_FALSE(row(first)->showsControls());

    const std::vector<QUuid> ids = rowIds(inFlight);
    QTest::keyClick(row(second), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), view->row(ids[2]));
    EXPECT_EQ(view->state().selectedId(), ids[2]);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), row(second));
}

TEST_F(TaskRowTest, repeatingTask_showsAMarkThatSaysTheRule_andTheMenuStopsIt)
{
    PlannerStore(context).setRepeat(QStringLiteral("FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH"), false,
                                    *second);
    settle();
    const auto *mark = row(second)->findChild<QWidget *>(u"repeatMark"_s);
    ASSERT_NE(mark, nullptr);
    EXPECT_TRUE(mark->isVisible());
    EXPECT_EQ(mark->toolTip(), QStringLiteral("Every 2 weeks on Mon and Thu"));
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(row(second))
                    ->text(QAccessible::Description)
                    .contains(QStringLiteral("Every 2 weeks on Mon and Thu")));
    EXPECT_FALSE(row(first)->findChild<QWidget *>(u"repeatMark"_s)->isVisible());

    row(second)->openMenu();
    QTest::mouseClick(option(QStringLiteral("Stop repeating")), Qt::LeftButton);
    EXPECT_TRUE(second->repeatRule().isEmpty());
    settle();
    EXPECT_FALSE(mark->isVisible());
}
