#include "StoreFixture.h"

#include "model/InlineSyntax.h"

namespace furrow::test {
namespace {

class CaptureAndEditTest : public StoreFixture
{
protected:
    Section *today = addSection(QStringLiteral("Today"), addPage(QStringLiteral("Inbox")));
};

TEST_F(CaptureAndEditTest, capture_withNoTitleLeft_createsNothing)
{
    EXPECT_EQ(store.capture(QStringLiteral("   "), today, nullptr), nullptr);
    addProject(QStringLiteral("Home"));
    EXPECT_EQ(store.capture(QStringLiteral("#home"), today, nullptr), nullptr);
    EXPECT_TRUE(context.rows<TaskItem>().empty());
    EXPECT_EQ(saveCount(), 0);
}

TEST_F(CaptureAndEditTest, capture_filesUnderTheTokensProject_elseTheDefault)
{
    Project *home = addProject(QStringLiteral("Home"));
    Project *fallback = addProject(QStringLiteral("Inbox"), 1);
    TaskItem *task = store.capture(QStringLiteral("Buy milk #home"), today, fallback);
    ASSERT_NE(task, nullptr);
    EXPECT_EQ(task->title(), QStringLiteral("Buy milk"));
    EXPECT_EQ(task->project(), home);
    EXPECT_EQ(task->section(), today);
    TaskItem *unmatched = store.capture(QStringLiteral("Buy milk #nosuch"), today, fallback);
    EXPECT_EQ(unmatched->project(), fallback);
    EXPECT_EQ(unmatched->title(), QStringLiteral("Buy milk #nosuch"))
        << "a hash word that names no project stays in the title";
    EXPECT_EQ(saveCount(), 2);
}

TEST_F(CaptureAndEditTest, capture_appendsAfterTheLargestOpenKeyOfItsSectionOrGroup)
{
    addTask(QStringLiteral("a"), today, 0);
    addTask(QStringLiteral("b"), today, 1);
    addTask(QStringLiteral("c"), today, 5);
    TaskItem *done = addTask(QStringLiteral("done"), today, 9);
    done->setDone(true);
    EXPECT_EQ(store.capture(QStringLiteral("d"), today, nullptr)->order(), 6);
    Section *empty = addSection(QStringLiteral("Empty"), nullptr);
    EXPECT_EQ(store.capture(QStringLiteral("e"), empty, nullptr)->order(), 0);

    // Without a section the task files into the no-section group, after its largest key.
    addTask(QStringLiteral("loose"), nullptr, 4);
    TaskItem *task = store.capture(QStringLiteral("another"), nullptr, nullptr);
    EXPECT_EQ(task->section(), nullptr);
    EXPECT_EQ(task->order(), 5);
}

TEST_F(CaptureAndEditTest, inlineEdit_projectTokenRules)
{
    Project *work = addProject(QStringLiteral("Work"));
    Project *home = addProject(QStringLiteral("Home"), 1);
    TaskItem *task = addTask(QStringLiteral("Call"), today, 0, work);

    store.applyInlineEdit(QStringLiteral("Call Bob #home #work"), *task);
    EXPECT_EQ(task->title(), QStringLiteral("Call Bob #work"));
    EXPECT_EQ(task->project(), home) << "the first hash word naming a project labels the task";

    store.applyInlineEdit(QStringLiteral("Call Bob #nosuch"), *task);
    EXPECT_EQ(task->title(), QStringLiteral("Call Bob #nosuch"));
    EXPECT_EQ(task->project(), nullptr) << "a word naming no project is title, not label";
    store.applyInlineEdit(QStringLiteral("Call Bob #work"), *task);
    EXPECT_EQ(task->project(), work);

    store.applyInlineEdit(QStringLiteral("Call Bob"), *task);
    EXPECT_EQ(task->project(), nullptr) << "no token removes the label";
    EXPECT_EQ(saveCount(), 4);
}

TEST_F(CaptureAndEditTest, pastedLines_becomeOneTitleWithItsProject)
{
    Project *ops = addProject(QStringLiteral("Ops"));
    TaskItem *task = store.capture(
        QStringLiteral("Call bank\r\nabout loan #Ops\rbefore\u2028Friday\u2029"), today, nullptr);
    ASSERT_NE(task, nullptr);
    EXPECT_EQ(task->title(), QStringLiteral("Call bank about loan before"));
    EXPECT_EQ(task->dueDate(), localTime(2026, 3, 13));
    EXPECT_EQ(task->project(), ops);

    store.applyInlineEdit(QStringLiteral("Call bank\nabout loan #Ops\nbefore \"Friday\""), *task);
    EXPECT_EQ(task->title(), QStringLiteral("Call bank about loan before \"Friday\""));
    EXPECT_EQ(task->project(), ops);
    EXPECT_EQ(InlineSyntax::oneLine(QStringLiteral("a\r\n\nb\u0085c")), QStringLiteral("a  b c"));
}

TEST_F(CaptureAndEditTest, inlineEdit_withEmptyTitle_changesNothing)
{
    addProject(QStringLiteral("Work"));
    TaskItem *task = addTask(QStringLiteral("Keep me"), today, 0);
    const Instant stamp = task->updatedAt();
    Clock::advance(std::chrono::minutes(1));
    store.applyInlineEdit(QStringLiteral("  #work "), *task);
    EXPECT_EQ(task->title(), QStringLiteral("Keep me"));
    EXPECT_EQ(task->updatedAt(), stamp);
    EXPECT_EQ(saveCount(), 0);
}

TEST_F(CaptureAndEditTest, fieldEdits_stampAndAlwaysSave)
{
    TaskItem *task = addTask(QStringLiteral("t"), today, 0);
    Project *project = addProject(QStringLiteral("P"));
    Clock::advance(std::chrono::minutes(1));

    store.setNote(QStringLiteral("  keep spaces  "), *task);
    EXPECT_EQ(task->note(), QStringLiteral("  keep spaces  "));
    EXPECT_EQ(task->updatedAt(), Clock::now());

    store.setDueDate(localTime(2026, 3, 14, 18, 30), *task);
    EXPECT_EQ(task->dueDate(), localTime(2026, 3, 14));
    store.setDueDate(std::nullopt, *task);
    EXPECT_FALSE(task->dueDate());

    store.setProject(project, *task);
    EXPECT_EQ(task->project(), project);
    store.setProject(project, *task);
    EXPECT_EQ(saveCount(), 5) << "each edit saves once, even when nothing changed";
}

} // namespace
} // namespace furrow::test
