#include "shell/PlannerApplication.h"
#include "Windows.h"

#include "model/InlineSyntax.h"
#include "model/PlannerStore.h"
#include "model/UserDefaults.h"
#include "persistence/ArchiveWriter.h"
#include "persistence/PlannerContainer.h"
#include "views/board/PageView.h"
#include "views/board/TaskRow.h"
#include "views/board/TitleEditor.h"
#include "views/board/ToolbarChip.h"
#include "views/main/MainToolbar.h"
#include "views/main/MainWindow.h"
#include "views/settings/SessionAutostart.h"
#include "views/settings/SettingsWindow.h"
#include "views/settings/ShortcutTab.h"
#include "views/settings/SyncSettingsTab.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace furrow {
namespace {

using namespace Qt::StringLiterals;

// The one task of the store at that path, written back as inline text.
QString onlyTaskAsText(const QString &storePath)
{
    const auto container = PlannerContainer::open(storePath);
    const auto tasks = PlannerStore(container->context()).allTasks();
    if (tasks.size() != 1)
        return {};
    const Project *project = tasks.front()->project();
    return InlineSyntax::compose(tasks.front()->title(),
                                 project ? std::optional(project->name()) : std::nullopt);
}

TEST(PlannerApplicationTest, ctrlQ_savesTheTitleBeingEdited)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("furrow.store"));
    {
        auto container = PlannerContainer::open(path);
        PlannerStore store(container->context());
        Page *page = store.createPage(QStringLiteral("Work"), QStringLiteral("briefcase"));
        store.capture(QStringLiteral("Call bank"),
                      store.createSection(QStringLiteral("Today"), *page), nullptr);
        store.createProject(QStringLiteral("Ops"));

        PlannerApplication planner(std::move(container), path);
        planner.start(false, {});
        MainWindow *window = planner.mainWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        const auto rows = window->findChild<PageView *>(u"pageView"_s)->findChildren<TaskRow *>();
        ASSERT_EQ(rows.size(), 1);
        rows.front()->beginEdit();
        QCoreApplication::processEvents();
        TitleEditor *editor = window->findChild<TitleEditor *>();
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(editor->hasFocus());
        QTest::keyClicks(editor, QStringLiteral(" about the loan #Ops"));

        // Ctrl+Q from inside the editor, while the event loop runs; a quit that never comes
        // ends the loop with another code.
        QTimer::singleShot(0, editor,
                           [editor] { QTest::keyClick(editor, Qt::Key_Q, Qt::ControlModifier); });
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(7); });
        EXPECT_EQ(QApplication::exec(), 0);
    }
    ArchiveWriter::shared().flush();
    EXPECT_EQ(onlyTaskAsText(path).toStdString(), "Call bank about the loan #Ops");
}

// A planner started on an empty store of its own, its main window shown and active.
class StartedPlannerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        planner.start(false, {});
        window = planner.mainWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }

    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("furrow.store"));
    PlannerApplication planner{PlannerContainer::open(path), path};
    MainWindow *window = nullptr;
};

TEST_F(StartedPlannerTest, ctrlN_startsANewTask_andTheArchiveOpensFromItsShortcutAndTheSidebar)
{

    QTest::keyClick(window, Qt::Key_N, Qt::ControlModifier);
    EXPECT_FALSE(window->findChild<PageView *>(u"pageView"_s)->state().composingSection().isNull());

    const auto archiveWindow = [] {
        QWidget *archive = test::topLevel(u"archive"_s);
        return archive && archive->isVisible() ? archive : nullptr;
    };
    QTest::keyClick(window, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    QWidget *archive = archiveWindow();
    ASSERT_NE(archive, nullptr);
    archive->close();
    ASSERT_EQ(archiveWindow(), nullptr);

    auto *archiveRow = window->findChild<QAbstractButton *>(QStringLiteral("sidebarArchive"));
    ASSERT_NE(archiveRow, nullptr);
    archiveRow->click();
    EXPECT_EQ(archiveWindow(), archive);
}

TEST_F(StartedPlannerTest, settings_isOneWindowOpenedFromTheChipTheProjectsRequestAndCtrlComma)
{
    EXPECT_EQ(planner.settingsWindow(), nullptr);

    QTest::mouseClick(window->toolbar()->findChild<ToolbarChip *>(u"settingsChip"_s),
                      Qt::LeftButton);
    SettingsWindow *settings = planner.settingsWindow();
    ASSERT_NE(settings, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(settings));
    EXPECT_EQ(settings->currentTab(), SettingsTab::Projects);
    settings->showTab(SettingsTab::Backup);

    // The command's shortcut works in the settings window too, and opens the same window.
    QTest::keyClick(settings, Qt::Key_Comma, Qt::ControlModifier);
    EXPECT_EQ(planner.settingsWindow(), settings);
    EXPECT_EQ(settings->currentTab(), SettingsTab::Backup);
    settings->close();

    Q_EMIT window->projectSettingsRequested();
    EXPECT_EQ(planner.settingsWindow(), settings);
    EXPECT_TRUE(settings->isVisible());
    EXPECT_EQ(settings->currentTab(), SettingsTab::Projects);
    EXPECT_EQ(QApplication::topLevelWidgets().count(settings), 1);
    // Every tab has its content, bound to the running planner.
    EXPECT_NE(settings->findChild<ShortcutTab *>(), nullptr);
    EXPECT_NE(settings->findChild<SyncSettingsTab *>(), nullptr);
}

TEST(PlannerApplicationTest, background_startsWithoutTheWindow_andTheFirstCloseTellsOnceWhereItWent)
{
    UserDefaults::open()->remove(u"notice.background.shown"_s);
    QFile::remove(SessionAutostart::entryPath());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("furrow.store"));
    PlannerApplication planner(PlannerContainer::open(path), path);
    planner.start(false, {}, PlannerApplication::Opening::Background);
    EXPECT_EQ(planner.mainWindow(), nullptr);
    EXPECT_EQ(test::topLevel(u"backgroundNotice"_s), nullptr);

    planner.showMainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(planner.mainWindow()));
    planner.mainWindow()->close();
    QMessageBox *notice = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        notice = test::topLevel<QMessageBox>(u"backgroundNotice"_s);
        return notice && notice->isVisible();
    }));
    EXPECT_EQ(notice->text(), u"Furrow keeps running for quick capture and reminders. Quit from "
                              u"the tray or with Ctrl+Q."_s);
    notice->findChild<QAbstractButton *>(u"startWithSession"_s)->click();
    EXPECT_TRUE(SessionAutostart::isEnabled());
    QTRY_COMPARE(test::topLevel(u"backgroundNotice"_s), nullptr);

    planner.showMainWindow();
    planner.mainWindow()->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(test::topLevel(u"backgroundNotice"_s), nullptr) << "once only";
    QFile::remove(SessionAutostart::entryPath());
}

} // namespace
} // namespace furrow
