#include "shell/HeadlessCommands.h"

#include "model/Clock.h"
#include "model/LiveRecords.h"
#include "model/PlannerStore.h"
#include "model/StoreBackend.h"
#include "persistence/PlannerArchiveIO.h"
#include "sync/SyncEngine.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace furrow {
namespace {

class HeadlessCommandsTest : public ::testing::Test
{
protected:
    SingleInstance::Reply run(CommandLine::Action action, const QString &argument = {},
                              bool dryRun = false)
    {
        CommandLine command;
        command.action = action;
        command.argument = argument;
        command.dryRun = dryRun;
        std::optional<SingleInstance::Reply> reply;
        HeadlessCommands::execute(command, context, engine,
                                  [&](const SingleInstance::Reply &r) { reply = r; });
        EXPECT_TRUE(reply) << "commands other than sync answer at once";
        return reply.value_or(SingleInstance::Reply{99, {}, {}});
    }

    // A backup holding one task, written by another planner.
    QString backupWithOneTask()
    {
        const QString file = folder.filePath(QStringLiteral("planner.json"));
        ModelContext elsewhere;
        PlannerStore source(elsewhere);
        source.capture(QStringLiteral("Call the plumber"), nullptr, nullptr);
        EXPECT_TRUE(PlannerArchiveIO::exportTo(source, file).succeeded);
        return file;
    }

    QTemporaryDir folder;
    ModelContext context;
    PlannerStore store{context};
    SyncEngine engine{context};
};

TEST_F(HeadlessCommandsTest,
       add_onAnEmptyStore_failsWithoutATitle_andOtherwiseFilesIntoTheStarterPage)
{
    const auto untitled = run(CommandLine::Action::Add, "  tomorrow ");
    EXPECT_EQ(untitled.exitCode, 1);
    EXPECT_FALSE(untitled.errorOutput.isEmpty());
    EXPECT_TRUE(context.rows<Page>().empty());
    EXPECT_FALSE(context.hasChanges());

    EXPECT_EQ(run(CommandLine::Action::Add, "Call the plumber").exitCode, 0);
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

TEST_F(HeadlessCommandsTest, exportAndImport_reportTheAlertTexts)
{
    store.ensureStarterPage();
    const QString file = folder.filePath(QStringLiteral("planner.json"));
    EXPECT_EQ(run(CommandLine::Action::Export, file).exitCode, 0);
    EXPECT_EQ(run(CommandLine::Action::Import, file).exitCode, 0);

    const auto unwritable = run(CommandLine::Action::Export, folder.path());
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.errorOutput.startsWith(QStringLiteral("Не удалось выгрузить: ")));
}

TEST_F(HeadlessCommandsTest, import_refusesWhatIsNotAFileOfSaneSize_withoutReadingIt)
{
    const QString pipe = folder.filePath(QStringLiteral("pipe.json"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString huge = folder.filePath(QStringLiteral("huge.json"));
    QFile sparse(huge);
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly) && sparse.resize(256 * 1024 * 1024 + 1));
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("/dev/zero"), QStringLiteral("«/dev/zero» — не обычный файл")},
        {pipe, u'«' + pipe + QStringLiteral("» — не обычный файл")},
        {folder.path(), u'«' + folder.path() + QStringLiteral("» — не обычный файл")},
        {huge, u'«' + huge + QStringLiteral("» больше предела (256 МиБ)")},
    };
    for (const auto &[path, description] : cases) {
        const auto reply = run(CommandLine::Action::Import, path);
        EXPECT_EQ(reply.exitCode, 1);
        EXPECT_EQ(reply.errorOutput,
                  QStringLiteral("Не удалось прочитать файл: ") + description + u'\n');
    }
    EXPECT_TRUE(context.rows<Page>().empty());
}

TEST_F(HeadlessCommandsTest, importDryRun_printsTheCountsAndChangesNothing)
{
    const QString file = backupWithOneTask();

    const auto reply = run(CommandLine::Action::Import, file, true);
    EXPECT_EQ(reply.exitCode, 0);
    EXPECT_EQ(reply.output, QStringLiteral("1 new, 0 updated, nothing deleted\n"
                                           "Tasks: 1 new, 0 updated. Projects: 0 new, 0 "
                                           "updated. Days: 0 new, 0 updated.\n"));
    EXPECT_TRUE(context.rows<TaskItem>().empty());
    EXPECT_TRUE(context.rows<Page>().empty());
    EXPECT_FALSE(context.hasChanges());

    const auto unreadable = run(CommandLine::Action::Import, folder.path(), true);
    EXPECT_EQ(unreadable.exitCode, 1);
}

class FailingBackend : public StoreBackend
{
public:
    void write(const ChangeSet &) override { throw StoreError(QStringLiteral("disk full")); }
};

TEST_F(HeadlessCommandsTest, addAndImport_whoseSaveFails_exitWithTheErrorOnStandardError)
{
    const QString file = backupWithOneTask();

    FailingBackend backend;
    context.setBackend(&backend);
    auto reply = run(CommandLine::Action::Import, file);
    EXPECT_EQ(reply.exitCode, 1);
    EXPECT_EQ(reply.errorOutput, QStringLiteral("Не удалось сохранить загруженное: disk full\n"));
    EXPECT_TRUE(reply.output.isEmpty());

    reply = run(CommandLine::Action::Add, "Call the bank");
    EXPECT_EQ(reply.exitCode, 1);
    EXPECT_EQ(reply.errorOutput, QStringLiteral("Furrow: save failed — disk full\n"));
    context.setBackend(nullptr);
    EXPECT_EQ(run(CommandLine::Action::Add, "Call the bank again").exitCode, 0)
        << "a save that gets through takes the earlier changes along";
    EXPECT_EQ(store.allTasks().size(), 3u);
}

TEST_F(HeadlessCommandsTest, syncWhileSwitchedOff_printsTheStatusAndFails)
{
    engine.setOn(false);
    const auto reply = run(CommandLine::Action::Sync);
    EXPECT_EQ(reply.exitCode, 1);
    EXPECT_EQ(reply.output, QStringLiteral("Off\n"));
}

TEST_F(HeadlessCommandsTest, sync_saysWhatIsMissing_andTrustsOnlyAWholeFingerprint)
{
    engine.setOn(true);
    engine.setToken(QStringLiteral("a-token-long-enough-for-the-server"));
    auto reply = run(CommandLine::Action::Sync);
    EXPECT_EQ(reply.exitCode, 1);
    EXPECT_EQ(reply.output, QStringLiteral("не указан адрес сервера\n"));

    CommandLine command;
    command.action = CommandLine::Action::Sync;
    command.trust = QStringLiteral("ab:cd");
    HeadlessCommands::execute(command, context, engine,
                              [&](const SingleInstance::Reply &r) { reply = r; });
    EXPECT_EQ(reply.exitCode, 1);
    EXPECT_TRUE(reply.errorOutput.contains(QStringLiteral("64")));
    EXPECT_TRUE(engine.trustedCertificate().isEmpty());
    command.trust = QString(QStringLiteral("AB")).repeated(32);
    HeadlessCommands::execute(command, context, engine,
                              [&](const SingleInstance::Reply &r) { reply = r; });
    EXPECT_EQ(engine.trustedCertificate(), QString(QStringLiteral("ab")).repeated(32));
}

TEST_F(HeadlessCommandsTest, syncToPlainHttpOnAnotherComputer_saysWhyAndFails)
{
    engine.setAddress(QStringLiteral("http://sync.example.org"));
    engine.setToken(QStringLiteral("token"));
    engine.setPhrase(QStringLiteral("correct horse battery staple"));
    engine.setOn(true);
    const auto reply = run(CommandLine::Action::Sync);
    EXPECT_EQ(reply.exitCode, 1);
    EXPECT_EQ(reply.output, SyncExchange::unsafeEndpointMessage() + u'\n');
    for (const auto setter :
         {&SyncEngine::setAddress, &SyncEngine::setToken, &SyncEngine::setPhrase})
        (engine.*setter)({});
    engine.setOn(false);
}

// A page with two tasks of the same title in two sections, and one archived.
class FindCommandsTest : public HeadlessCommandsTest
{
protected:
    FindCommandsTest()
    {
        Page *work = store.createPage(QStringLiteral("Work"), QStringLiteral("house"));
        today = store.createSection(QStringLiteral("Today"), *work);
        Section *later = store.createSection(QStringLiteral("Later"), *work);
        first = store.capture(QStringLiteral("Call the bank"), today, nullptr);
        store.capture(QStringLiteral("Call the bank"), later, nullptr);
        filed = store.capture(QStringLiteral("Call the plumber"), today, nullptr);
        store.archive(*filed);
    }

    SingleInstance::Reply search(const QStringList &arguments)
    {
        QString error;
        const auto command = CommandLine::parse(QStringList{"search"} + arguments, &error);
        EXPECT_TRUE(command) << error.toStdString();
        std::optional<SingleInstance::Reply> reply;
        HeadlessCommands::execute(*command, context, engine,
                                  [&](const SingleInstance::Reply &r) { reply = r; });
        return reply.value_or(SingleInstance::Reply{99, {}, {}});
    }

    QJsonArray searchJson(const QString &query)
    {
        const auto reply = search({query, "--json"});
        EXPECT_EQ(reply.exitCode, 0);
        return QJsonDocument::fromJson(reply.output.toUtf8()).array();
    }

    Section *today = nullptr;
    TaskItem *first = nullptr;
    TaskItem *filed = nullptr;
};

TEST_F(FindCommandsTest, search_printsOneLinePerResult_toldApartByTheirPlace)
{
    const auto reply = search({"bank", "call"});
    EXPECT_EQ(reply.exitCode, 0);
    const QStringList lines = reply.output.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines.contains(QStringLiteral("Call the bank · Work › Today")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Call the bank · Work › Later")));
    EXPECT_EQ(search({"plumber"}).output,
              QStringLiteral("Call the plumber · Archive · Dropped · Today\n"));
    EXPECT_EQ(search({"call", "--limit", "1"}).output.count(u'\n'), 1);
    EXPECT_EQ(search({"nothing"}).output, QString());
}

TEST_F(FindCommandsTest, searchJson_givesIdsThatDoneAndReopenTake)
{
    const QJsonArray results = searchJson(QStringLiteral("bank"));
    ASSERT_EQ(results.size(), 2);
    const QString id = idText(first->id());
    const auto found = std::find_if(results.begin(), results.end(), [&](const QJsonValue &v) {
        return v[QStringLiteral("id")].toString() == id;
    });
    ASSERT_NE(found, results.end());
    EXPECT_EQ((*found)[QStringLiteral("section")].toString(), QStringLiteral("Today"));
    EXPECT_EQ((*found)[QStringLiteral("state")].toString(), QStringLiteral("open"));

    EXPECT_EQ(run(CommandLine::Action::Done, id).exitCode, 0);
    EXPECT_TRUE(first->isDone());
    EXPECT_EQ(run(CommandLine::Action::Reopen, id).exitCode, 0);
    EXPECT_FALSE(first->isDone());
}

TEST_F(FindCommandsTest, doneAndReopen_ofAnUnknownId_failWithAMessage)
{
    for (const QString &id :
         {QStringLiteral("not-an-id"), idText(QUuid::createUuid()), QString()}) {
        for (const auto action : {CommandLine::Action::Done, CommandLine::Action::Reopen}) {
            const auto reply = run(action, id);
            EXPECT_EQ(reply.exitCode, 1);
            EXPECT_TRUE(reply.errorOutput.contains(QStringLiteral("нет задачи")));
        }
    }
    first->setDeletedAt(Clock::now());
    EXPECT_EQ(run(CommandLine::Action::Done, idText(first->id())).exitCode, 1)
        << "a deleted task is unknown";
}

TEST_F(FindCommandsTest, anArchivedTask_isPutBackByReopen_andNotClosedByDone)
{
    EXPECT_EQ(run(CommandLine::Action::Done, idText(filed->id())).exitCode, 1);
    EXPECT_TRUE(filed->isArchived());
    EXPECT_EQ(run(CommandLine::Action::Reopen, idText(filed->id())).exitCode, 0);
    EXPECT_FALSE(filed->isArchived());
    EXPECT_EQ(filed->section(), today);
}

} // namespace
} // namespace furrow
