#include "shell/HeadlessCommands.h"

#include "model/LiveRecords.h"
#include "model/PlannerStore.h"
#include "sync/SyncEngine.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace furrow {
namespace {

class HeadlessCommandsTest : public ::testing::Test
{
protected:
    SingleInstance::Reply run(CommandLine::Action action, const QString &argument = {})
    {
        CommandLine command;
        command.action = action;
        command.argument = argument;
        std::optional<SingleInstance::Reply> reply;
        HeadlessCommands::execute(command, context, engine,
                                  [&](const SingleInstance::Reply &r) { reply = r; });
        EXPECT_TRUE(reply) << "commands other than sync answer at once";
        return reply.value_or(SingleInstance::Reply{99, {}, {}});
    }

    ModelContext context;
    PlannerStore store{context};
    SyncEngine engine{context};
};

TEST_F(HeadlessCommandsTest, add_onAnEmptyStore_filesIntoTheStarterPage)
{
    EXPECT_EQ(run(CommandLine::Action::Add, "Call the plumber #home").exitCode, 0);
    ASSERT_EQ(store.allTasks().size(), 1u);
    const TaskItem *task = store.allTasks().front();
    EXPECT_EQ(task->title(), QStringLiteral("Call the plumber"));
    ASSERT_NE(task->section(), nullptr);
    EXPECT_EQ(task->section()->name(), QStringLiteral("Today"));
    EXPECT_EQ(task->section()->page()->name(), QStringLiteral("Inbox"));
}

TEST_F(HeadlessCommandsTest, add_skipsAFirstPageWithoutSections)
{
    store.createPage(QStringLiteral("Bare"), QStringLiteral("house"));
    Page *second = store.createPage(QStringLiteral("Work"), QStringLiteral("briefcase"));
    Section *lane = store.createSection(QStringLiteral("Doing"), *second);
    run(CommandLine::Action::Add, "Ship it");
    EXPECT_EQ(store.tasks(lane).size(), 1u);
}

TEST_F(HeadlessCommandsTest, add_withoutATitle_failsAndChangesNothing)
{
    const auto reply = run(CommandLine::Action::Add, "  #home ");
    EXPECT_EQ(reply.exitCode, 1);
    EXPECT_FALSE(reply.errorOutput.isEmpty());
    EXPECT_TRUE(context.rows<Page>().empty());
    EXPECT_FALSE(context.hasChanges());
}

TEST_F(HeadlessCommandsTest, exportAndImport_reportTheAlertTexts)
{
    QTemporaryDir folder;
    store.ensureStarterPage();
    const QString file = folder.filePath(QStringLiteral("planner.json"));
    EXPECT_EQ(run(CommandLine::Action::Export, file).exitCode, 0);
    EXPECT_EQ(run(CommandLine::Action::Import, file).exitCode, 0);

    const auto missing = run(CommandLine::Action::Import, folder.filePath(QStringLiteral("none")));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.errorOutput.startsWith(QStringLiteral("Не удалось прочитать файл: ")));
    const auto unwritable = run(CommandLine::Action::Export, folder.path());
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.errorOutput.startsWith(QStringLiteral("Не удалось выгрузить: ")));
}

TEST_F(HeadlessCommandsTest, syncWhileSwitchedOff_printsTheStatusAndFails)
{
    engine.setOn(false);
    const auto reply = run(CommandLine::Action::Sync);
    EXPECT_EQ(reply.exitCode, 1);
    EXPECT_EQ(reply.output, QStringLiteral("Off\n"));
}

} // namespace
} // namespace furrow
