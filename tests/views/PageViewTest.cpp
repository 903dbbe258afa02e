#include "BoardFixture.h"
#include "persistence/PlannerSnapshot.h"
#include "views/board/BoardState.h"
#include "views/board/ComposeLine.h"
#include "views/board/CountLabel.h"
#include "views/board/EmptyPageBlock.h"
#include "views/board/InlineField.h"
#include "views/board/RowTrailing.h"
#include "views/board/SectionHeader.h"
#include "views/board/TitleEditor.h"
#include "views/menus/AnchoredButton.h"
#include "views/widgets/PillButton.h"
#include "views/widgets/TextLabel.h"

#include <QClipboard>
#include <QLabel>
#include <QScrollArea>

using namespace furrow;

namespace {

// The compose line's field while it is open.
InlineField *composeField(const ComposeLine *line)
{
    return line->findChild<InlineField *>(u"composeField"_s);
}

} // namespace

TEST_F(BoardTest, showsTheSectionsInOrderWithOpenRowsAndCounts)
{
    EXPECT_EQ(view->findChild<TextLabel *>(u"pageTitle"_s)->text(), QStringLiteral("Work"));
    ASSERT_EQ(view->blocks().size(), 2u);
    EXPECT_EQ(view->blocks()[0]->header()->name(), QStringLiteral("In flight"));
    EXPECT_EQ(rowIds(inFlight), (std::vector<QUuid>{first->id(), second->id()}));
    EXPECT_EQ(block(inFlight)->header()->findChild<CountLabel *>(u"countLabel"_s)->text(),
              QStringLiteral("2"));
    EXPECT_TRUE(block(later)->header()->findChild<CountLabel *>(u"countLabel"_s)->isTransparent());
    EXPECT_FALSE(view->showsEmptyPage());

    view->setPage(QUuid::createUuid());
    EXPECT_FALSE(view->hasPage());
    EXPECT_TRUE(view->blocks().empty());
    EXPECT_FALSE(view->showsEmptyPage());
}

TEST_F(BoardTest, compose_withProjectToken_filesTheTaskAtTheEndAndStaysOpen)
{
    ComposeLine *line = block(inFlight)->composeLine();
    QTest::mouseClick(line->findChild<QAbstractButton *>(u"prompt"_s), Qt::LeftButton);
    settle();
    ASSERT_TRUE(line->isComposing());
    EXPECT_TRUE(composeField(line)->hasFocus());
    QTest::keyClicks(composeField(line), QStringLiteral("  Call the plumber #home "));
    QTest::keyClick(composeField(line), Qt::Key_Return);
    settle();

    const auto open = PlannerStore(context).tasks(inFlight);
    ASSERT_EQ(open.size(), 3u);
    EXPECT_EQ(open.back()->title(), QStringLiteral("Call the plumber"));
    EXPECT_EQ(open.back()->project(), home);
    EXPECT_EQ(rowIds(inFlight).back(), open.back()->id());
    EXPECT_TRUE(line->isComposing());
    EXPECT_TRUE(composeField(line)->text().isEmpty());
    EXPECT_TRUE(composeField(line)->hasFocus());
}

TEST_F(BoardTest, compose_escapeAClickOnARowOrOnTheEmptyPageOrABlankReturn_closesTheLine)
{
    ComposeLine *line = block(later)->composeLine();
    QWidget *column = view->findChild<QScrollArea *>(u"pageScroll"_s)->widget();
    const std::function<void()> ways[]
        = {[&] { QTest::keyClick(composeField(line), Qt::Key_Escape); },
           [&] {
               composeField(line)->setText(QStringLiteral("   "));
               QTest::keyClick(composeField(line), Qt::Key_Return);
           },
           [&] { QTest::mouseClick(row(first), Qt::LeftButton, {}, QPoint(4, 4)); },
           [&] {
               QTest::mouseClick(column, Qt::LeftButton, {},
                                 QPoint(column->width() / 2, column->height() - 5));
           }};
    for (const auto &away : ways) {
        view->state().setComposingSection(later->id());
        settle();
        EXPECT_TRUE(composeField(line)->text().isEmpty());
        QTest::keyClicks(composeField(line), QStringLiteral("Half a thought"));
        away();
        settle();
        EXPECT_FALSE(line->isComposing());
        EXPECT_TRUE(view->state().composingSection().isNull());
    }
    EXPECT_TRUE(PlannerStore(context).tasks(later).empty());
}

TEST_F(BoardTest, sectionRename_commitsTrimmedName_andKeepsTheOldOneOnEscape)
{
    SectionHeader *header = block(later)->header();
    QTest::mouseDClick(header->findChild<TextLabel *>(u"nameLabel"_s), Qt::LeftButton);
    settle();
    ASSERT_TRUE(header->isRenaming());
    EXPECT_TRUE(header->findChild<InlineField *>(u"nameField"_s)->hasFocus());
    header->findChild<InlineField *>(u"nameField"_s)->setText(QStringLiteral("Next week"));
    QTest::keyClick(header->findChild<InlineField *>(u"nameField"_s), Qt::Key_Escape);
    settle();
    EXPECT_EQ(later->name(), QStringLiteral("Later"));

    view->state().setRenamingSection(later->id());
    settle();
    header->findChild<InlineField *>(u"nameField"_s)->setText(QStringLiteral("  Next week "));
    QTest::keyClick(header->findChild<InlineField *>(u"nameField"_s), Qt::Key_Return);
    settle();
    EXPECT_EQ(later->name(), QStringLiteral("Next week"));
    EXPECT_EQ(header->findChild<TextLabel *>(u"nameLabel"_s)->text(), QStringLiteral("Next week"));
}

TEST_F(BoardTest, deletingTheOnlySection_archivesItsTasksAndShowsTheEmptyPage)
{
    PlannerStore(context).deleteSection(*later);
    settle();
    QTest::mouseClick(block(inFlight)->header()->findChild<AnchoredButton *>(u"menuButton"_s),
                      Qt::LeftButton);
    MenuRow *remove = menuRow(*menus, QStringLiteral("Delete"));
    ASSERT_NE(remove, nullptr);
    EXPECT_TRUE(remove->isDestructive());
    QTest::mouseClick(remove, Qt::LeftButton);
    settle();
    EXPECT_TRUE(first->isArchived());
    EXPECT_TRUE(view->blocks().empty());
    EXPECT_EQ(view->row(first->id()), nullptr);
    EXPECT_TRUE(view->showsEmptyPage());
}

TEST_F(BoardTest, addACategory_createsNewCategoryWithItsNameSelectedForEditing)
{
    PlannerStore store(context);
    store.deleteSection(*later);
    store.deleteSection(*inFlight);
    settle();
    ASSERT_TRUE(view->showsEmptyPage());
    QTest::mouseClick(view->findChild<EmptyPageBlock *>(u"emptyPage"_s)->addButton(),
                      Qt::LeftButton);
    settle();
    ASSERT_EQ(view->blocks().size(), 1u);
    SectionHeader *header = view->blocks().front()->header();
    EXPECT_EQ(header->name(), QStringLiteral("New category"));
    ASSERT_TRUE(header->isRenaming());
    EXPECT_TRUE(header->findChild<InlineField *>(u"nameField"_s)->hasFocus());
    EXPECT_EQ(header->findChild<InlineField *>(u"nameField"_s)->selectedText(),
              QStringLiteral("New category"));
    EXPECT_FALSE(view->showsEmptyPage());

    // Return on the name leads on to the section's first task, not to its menu.
    QTest::keyClicks(header->findChild<InlineField *>(u"nameField"_s), QStringLiteral("Errands"));
    QTest::keyClick(header->findChild<InlineField *>(u"nameField"_s), Qt::Key_Return);
    settle();
    ComposeLine *line = view->blocks().front()->composeLine();
    ASSERT_TRUE(line->isComposing());
    EXPECT_TRUE(composeField(line)->hasFocus());
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Buy stamps"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    settle();
    const auto sections = store.sections(page);
    ASSERT_EQ(sections.size(), 1u);
    EXPECT_EQ(sections.front()->name(), QStringLiteral("Errands"));
    ASSERT_EQ(store.tasks(sections.front()).size(), 1u);
    EXPECT_EQ(store.tasks(sections.front()).front()->title(), QStringLiteral("Buy stamps"));
    EXPECT_FALSE(menus->open().has_value());

    // A later rename by Return leaves the focus in the header.
    view->state().setRenamingSection(sections.front()->id());
    settle();
    QTest::keyClick(header->findChild<InlineField *>(u"nameField"_s), Qt::Key_Return);
    settle();
    EXPECT_FALSE(line->isComposing());
}

TEST_F(BoardTest, refresh_reusesRowsAndKeepsAnOpenEditorAndItsFocus)
{
    TaskRow *editing = row(first);
    editing->beginEdit();
    settle();
    ASSERT_TRUE(editing->isEditingTitle());
    QTest::keyClicks(titleEditor(editing), QStringLiteral(" draft"));
    PlannerStore store(context);
    store.setNote(QStringLiteral("changed elsewhere"), *second);
    store.capture(QStringLiteral("A third"), inFlight, nullptr);
    settle();
    EXPECT_EQ(row(first), editing);
    EXPECT_TRUE(editing->isEditingTitle());
    EXPECT_TRUE(titleEditor(editing)->hasFocus());
    EXPECT_TRUE(titleEditor(editing)->text().endsWith(QStringLiteral(" draft")));
    EXPECT_EQ(rowIds(inFlight).size(), 3u);
}

TEST_F(BoardTest, moveToAnotherSection_keepsTheRowItsFocusAndHowItCame)
{
    TaskRow *moved = row(second);
    moved->setFocus(Qt::TabFocusReason);
    PlannerStore(context).move(*second, later, std::nullopt);
    settle();
    EXPECT_EQ(row(second), moved);
    EXPECT_EQ(rowIds(later), std::vector<QUuid>{second->id()});
    EXPECT_TRUE(moved->hasFocus());
    EXPECT_TRUE(moved->showsControls());

    // A row focused by a click comes back unlit: the pointer is no longer over it.
    row(first)->setFocus(Qt::MouseFocusReason);
    moved->setFocus(Qt::MouseFocusReason);
    PlannerStore(context).move(*second, inFlight, std::nullopt);
    settle();
    EXPECT_TRUE(moved->hasFocus());
    EXPECT_FALSE(moved->showsControls());
    EXPECT_TRUE(view->state().litId().isNull());
}

TEST_F(BoardTest, hairlines_hideNextToTheHoveredRowOnly)
{
    PlannerStore(context).capture(QStringLiteral("A third"), inFlight, nullptr);
    settle();
    const auto &rows = block(inFlight)->rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_FALSE(rows[0]->hasSeparator());
    EXPECT_EQ(rows[1]->separatorOpacity(), 1);
    hover(rows[1]);
    EXPECT_EQ(view->state().hoveredId(), rows[1]->taskId());
    EXPECT_EQ(rows[1]->separatorOpacity(), 0);
    EXPECT_EQ(rows[2]->separatorOpacity(), 0);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(rows[1], &leave);
    EXPECT_TRUE(view->state().hoveredId().isNull());
    EXPECT_EQ(rows[2]->separatorOpacity(), 1);
}

TEST_F(BoardTest, longNames_endInAnEllipsisOnOneLine_andRowsStayWithinThePage)
{
    const QString name = QStringLiteral("Everything that has to happen before the spring release, "
                                        "in no particular order.");
    ASSERT_EQ(name.size(), 80);
    PlannerStore(context).rename(*inFlight, name);
    PlannerStore(context).rename(*page, name);
    window.resize(700, 700);
    settle();
    const TextLabel *sectionName
        = block(inFlight)->header()->findChild<TextLabel *>(u"nameLabel"_s);
    EXPECT_EQ(sectionName->text(), name);
    EXPECT_TRUE(sectionName->shownText().endsWith(u'…'));
    EXPECT_LT(block(inFlight)->header()->height(), 2 * sectionName->fontMetrics().height());
    EXPECT_TRUE(view->findChild<TextLabel *>(u"pageTitle"_s)->shownText().endsWith(u'…'));

    const int pageWidth = view->findChild<QScrollArea *>(u"pageScroll"_s)->viewport()->width();
    EXPECT_LE(block(inFlight)->width(), pageWidth);
    for (const TaskRow *taskRow : block(inFlight)->rows()) {
        EXPECT_LE(taskRow->width(), pageWidth);
        // The trailing end, with the controls, is still inside the page.
        const QWidget *end = trailing(taskRow);
        const QWidget *viewport = view->findChild<QScrollArea *>(u"pageScroll"_s)->viewport();
        EXPECT_LE(QRect(end->mapTo(viewport, QPoint()), end->size()).right(), pageWidth);
    }
    // A short name keeps its natural width, so the count sits right after it.
    PlannerStore(context).rename(*inFlight, QStringLiteral("Now"));
    settle();
    EXPECT_EQ(sectionName->shownText(), QStringLiteral("Now"));
    EXPECT_LT(block(inFlight)->header()->findChild<CountLabel *>(u"countLabel"_s)->x(),
              pageWidth / 2);
}

TEST_F(BoardTest, closingTheViewWithOpenEditors_isSafe)
{
    row(first)->beginEdit();
    view->state().setRenamingSection(later->id());
    view->state().setComposingSection(inFlight->id());
    settle();
    delete view;
    settle();
    EXPECT_EQ(first->title(), QStringLiteral("Write the summary"));
}

namespace {

bool focusIsInAComposeLine(const QWidget *view)
{
    const QWidget *focus = view->window()->focusWidget();
    const auto lines = view->findChildren<ComposeLine *>();
    return std::any_of(lines.begin(), lines.end(), [focus](const ComposeLine *line) {
        return focus && line->isAncestorOf(focus);
    });
}

} // namespace

TEST_F(BoardTest, importThatClosesTheEditedTask_keepsTheDraft_andTheNextKeysFileNoStrayTask)
{
    TaskRow *editing = row(second);
    editing->beginEdit();
    settle();
    QTest::keyClicks(titleEditor(editing), QStringLiteral(" soon"));

    PlannerStore store(context);
    PlannerArchive archive = PlannerSnapshot::snapshot(store);
    Clock::advance(std::chrono::minutes(1));
    for (PlannerArchive::TaskRecord &task : archive.tasks) {
        if (task.id == second->id()) {
            task.isDone = true;
            task.doneAt = task.updatedAt = Clock::now();
        }
    }
    PlannerSnapshot::restore(store, archive);
    settle();
    ASSERT_TRUE(second->isDone());
    EXPECT_FALSE(focusIsInAComposeLine(view));

    // The user, who saw nothing of it, types on and presses Return.
    QWidget *focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClicks(focus, QStringLiteral(" at noon"));
    QTest::keyClick(focus, Qt::Key_Return);
    settle();
    EXPECT_EQ(store.allTasks().size(), 2u);
    EXPECT_EQ(second->title(), QStringLiteral("Send the invoice soon at noon"));
    EXPECT_TRUE(second->isDone());
}

TEST_F(BoardTest, editedTaskLeavingThePage_savesTheDraft_andTheFocusStaysOffTheComposeLines)
{
    TaskRow *editing = row(second);
    editing->beginEdit();
    settle();
    QTest::keyClicks(titleEditor(editing), QStringLiteral(" soon"));
    PlannerStore store(context);
    Page *elsewhere = store.createPage(QStringLiteral("Home"), QStringLiteral("house"));
    store.move(*second, store.createSection(QStringLiteral("Chores"), *elsewhere), std::nullopt);
    settle();
    EXPECT_EQ(row(second), nullptr);
    EXPECT_EQ(second->title(), QStringLiteral("Send the invoice soon"));
    EXPECT_FALSE(focusIsInAComposeLine(view));

    QWidget *focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClicks(focus, QStringLiteral(" more words"));
    QTest::keyClick(focus, Qt::Key_Return);
    settle();
    EXPECT_EQ(store.allTasks().size(), 2u);
    EXPECT_FALSE(first->isDone());
}

TEST_F(BoardTest, pastedLines_makeOneTitleWithItsProject_inTheTitleEditor)
{
    Project *ops = PlannerStore(context).createProject(QStringLiteral("Ops"));
    QGuiApplication::clipboard()->setText(
        QStringLiteral("Call bank\nabout loan #Ops\nbefore noon"));
    row(second)->beginEdit();
    settle();
    TitleEditor *editor = titleEditor(row(second));
    editor->selectAll();
    QTest::keySequence(editor, QKeySequence::Paste);
    QTest::keyClick(editor, Qt::Key_Return);
    settle();
    EXPECT_EQ(second->title(), QStringLiteral("Call bank about loan before noon"));
    EXPECT_EQ(second->project(), ops);
}
