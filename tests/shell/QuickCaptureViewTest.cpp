#include "CaptureFixture.h"

#include "LocalTime.h"
#include "model/Clock.h"
#include "model/LiveRecords.h"
#include "shell/capture/CaptureChip.h"
#include "shell/capture/LastCaptureProject.h"
#include "shell/capture/QuickCaptureView.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

namespace furrow {
namespace {

class QuickCaptureViewTest : public test::CaptureFixture
{
protected:
    QuickCaptureViewTest()
    {
        home = store.createProject(QStringLiteral("Home"));
        finance = store.createProject(QStringLiteral("Finance-Q3"));
        family = store.createProject(QStringLiteral("Family"));
    }

    // A panel's content as a showing makes it.
    std::unique_ptr<QuickCaptureView> openView()
    {
        auto view = std::make_unique<QuickCaptureView>(context);
        view->resize(560, 138);
        view->show();
        return view;
    }

    TaskItem *onlyTask() const
    {
        const auto tasks = store.allTasks();
        return tasks.size() == 1 ? tasks.front() : nullptr;
    }

    Project *home;
    Project *finance;
    Project *family;
};

TEST_F(QuickCaptureViewTest, typedFragment_narrowsChips_andPickingReplacesIt)
{
    const auto view = openView();
    QTest::keyClicks(field(view.get()), QStringLiteral("Call the bank #fin"));
    EXPECT_EQ(chipNames(view.get()), QStringList({"No project", "Finance-Q3"}));

    QTest::mouseClick(chipNamed(view.get(), QStringLiteral("Finance-Q3")), Qt::LeftButton);
    EXPECT_EQ(field(view.get())->text(), QStringLiteral("Call the bank"));
    EXPECT_EQ(view->project(), finance);
    // With the fragment gone, every project is offered again and the choice stays selected.
    EXPECT_EQ(chipNames(view.get()).size(), 4);
    EXPECT_EQ(selectedChip(view.get()), QStringLiteral("Finance-Q3"));

    // The fragment is compared as project names are.
    field(view.get())->setText(QStringLiteral("Pay #FINANCE_q"));
    EXPECT_EQ(chipNames(view.get()), QStringList({"No project", "Finance-Q3"}));
    field(view.get())->setText(QStringLiteral("Pay #x"));
    EXPECT_EQ(chipNames(view.get()), QStringList({"No project"}));
    // A fragment that is not at the very end offers everything.
    field(view.get())->setText(QStringLiteral("Pay #fin "));
    EXPECT_EQ(chipNames(view.get()).size(), 4);
}

TEST_F(QuickCaptureViewTest, return_withNoLivePage_capturesWithoutSection)
{
    const auto view = openView();
    QSignalSpy dismissed(view.get(), &QuickCaptureView::dismissed);
    QTest::keyClicks(field(view.get()), QStringLiteral("Call mum"));
    QTest::keyClick(field(view.get()), Qt::Key_Return);

    ASSERT_NE(onlyTask(), nullptr);
    EXPECT_EQ(onlyTask()->title(), QStringLiteral("Call mum"));
    EXPECT_EQ(onlyTask()->section(), nullptr);
    EXPECT_EQ(dismissed.count(), 1);
    EXPECT_TRUE(field(view.get())->text().isEmpty());
}

TEST_F(QuickCaptureViewTest, return_filesIntoFirstLiveSectionWithChosenProject)
{
    Page *inbox = store.ensureStarterPage();
    const auto sections = liveOn(context.fetchAll<Section>(), inbox);
    store.deleteSection(*sections.front());
    store.createPage(QStringLiteral("Later page"), QStringLiteral("house"));
    const auto view = openView();
    QTest::mouseClick(chipNamed(view.get(), QStringLiteral("Home")), Qt::LeftButton);
    QTest::keyClicks(field(view.get()), QStringLiteral("Fix the tap"));
    QTest::keyClick(field(view.get()), Qt::Key_Return);

    ASSERT_NE(onlyTask(), nullptr);
    EXPECT_EQ(onlyTask()->section(), sections.at(1));
    EXPECT_EQ(onlyTask()->project(), home);
}

TEST_F(QuickCaptureViewTest, chips_areReachedByTabAndArrows_andReturnPicksOne)
{
    const auto view = openView();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    view->focusField();
    QTest::keyClicks(field(view.get()), QStringLiteral("Fix the tap"));
    // Tab lands on the current choice, not on every chip in turn.
    QTest::keyClick(field(view.get()), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), chipNamed(view.get(), QStringLiteral("No project")));
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Left, Qt::Key_Right})
        QTest::keyClick(QApplication::focusWidget(), key);
    EXPECT_EQ(QApplication::focusWidget(), chipNamed(view.get(), QStringLiteral("Finance-Q3")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(view->project(), finance);
    EXPECT_EQ(QApplication::focusWidget(), field(view.get()));

    // The next Tab comes back to the chosen chip; Return in the field files the task.
    QTest::keyClick(field(view.get()), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), chipNamed(view.get(), QStringLiteral("Finance-Q3")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), field(view.get()));
    QTest::keyClick(field(view.get()), Qt::Key_Return);
    ASSERT_NE(onlyTask(), nullptr);
    EXPECT_EQ(onlyTask()->title(), QStringLiteral("Fix the tap"));
    EXPECT_EQ(onlyTask()->project(), finance);
}

TEST_F(QuickCaptureViewTest, dueChip_showsTheRepeatOrDayRead_andReturnFilesTheDueDay)
{
    Clock::setNow(test::localTime(2026, 12, 7, 9));
    const auto view = openView();
    auto *dueChip = view->findChild<CaptureChip *>(QStringLiteral("captureDueChip"));
    EXPECT_TRUE(dueChip->isHidden());
    QTest::keyClicks(field(view.get()), QStringLiteral("Gym every mon, wed"));
    EXPECT_FALSE(dueChip->isHidden());
    EXPECT_EQ(dueChip->text(), QStringLiteral("Every Mon, Wed"));
    QTest::keyClick(field(view.get()), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(dueChip->isHidden());
    EXPECT_EQ(field(view.get())->text(), QStringLiteral("Gym every mon, wed"));

    field(view.get())->setText(QStringLiteral("Call mum tue"));
    EXPECT_EQ(dueChip->text(), QStringLiteral("Tue 8 Dec"));
    QTest::keyClick(field(view.get()), Qt::Key_Return);
    ASSERT_TRUE(onlyTask());
    EXPECT_EQ(onlyTask()->title(), QStringLiteral("Call mum"));
    EXPECT_EQ(onlyTask()->dueDate(), test::localTime(2026, 12, 8));
    Clock::useSystemTime();
}

TEST_F(QuickCaptureViewTest, inlineToken_winsOverChosenChip)
{
    const auto view = openView();
    view->pick(home);
    field(view.get())->setText(QStringLiteral("Pay rent #family now"));
    QTest::keyClick(field(view.get()), Qt::Key_Return);
    ASSERT_NE(onlyTask(), nullptr);
    EXPECT_EQ(onlyTask()->title(), QStringLiteral("Pay rent now"));
    EXPECT_EQ(onlyTask()->project(), family);
}

TEST_F(QuickCaptureViewTest, emptyReturnOrEscape_dismissesWithoutCapturing)
{
    const std::pair<QString, Qt::Key> cases[]
        = {{QStringLiteral("   "), Qt::Key_Return},
           {QStringLiteral("Half a thought"), Qt::Key_Escape}};
    for (const auto &[text, key] : cases) {
        const auto view = openView();
        QSignalSpy dismissed(view.get(), &QuickCaptureView::dismissed);
        QTest::keyClicks(field(view.get()), text);
        QTest::keyClick(field(view.get()), key);
        EXPECT_TRUE(store.allTasks().empty());
        EXPECT_EQ(dismissed.count(), 1);
    }
}

TEST_F(QuickCaptureViewTest, captureProject_isRememberedForTheNextView)
{
    {
        const auto view = openView();
        view->pick(finance);
        QTest::keyClicks(field(view.get()), QStringLiteral("Call the bank"));
        QTest::keyClick(field(view.get()), Qt::Key_Return);
    }
    EXPECT_EQ(rememberedProject().toString(), idText(finance->id()));
    const auto next = openView();
    EXPECT_EQ(selectedChip(next.get()), QStringLiteral("Finance-Q3"));

    // Capturing with "No project" forgets it.
    QTest::mouseClick(chipNamed(next.get(), QStringLiteral("No project")), Qt::LeftButton);
    QTest::keyClicks(field(next.get()), QStringLiteral("Water plants"));
    QTest::keyClick(field(next.get()), Qt::Key_Return);
    EXPECT_FALSE(rememberedProject().isValid());
    EXPECT_EQ(selectedChip(openView().get()), QStringLiteral("No project"));
}

TEST_F(QuickCaptureViewTest, rememberedProject_thatIsGoneOrGarbled_readsAsNone)
{
    LastCaptureProject::save(family);
    EXPECT_EQ(LastCaptureProject::load(store.projects()), family);
    store.deleteProject(*family);
    EXPECT_EQ(LastCaptureProject::load(store.projects()), nullptr);
    EXPECT_EQ(selectedChip(openView().get()), QStringLiteral("No project"));

    UserDefaults::open()->setValue(QStringLiteral("capture.lastProject"),
                                   QStringLiteral("not an id"));
    EXPECT_EQ(LastCaptureProject::load(store.projects()), nullptr);
    LastCaptureProject::save(nullptr);
    EXPECT_FALSE(rememberedProject().isValid());
}

} // namespace
} // namespace furrow
