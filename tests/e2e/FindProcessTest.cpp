// `furrow search`, `done` and `reopen` as a script meets them, with and without a running
// planner.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace furrow {
namespace {

struct Result
{
    int exitCode = -1;
    QString output;
    QString errorOutput;
};

class FindProcessTest : public ::testing::Test
{
protected:
    FindProcessTest()
    {
        // A data folder of its own, so that these tasks are the only ones in the store.
        environment.insert(QStringLiteral("XDG_DATA_HOME"),
                           folder.filePath(QStringLiteral("data")));
    }

    Result furrow(const QStringList &arguments)
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(FURROW_EXECUTABLE), arguments);
        EXPECT_TRUE(process.waitForFinished(30000)) << arguments.join(u' ').toStdString();
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    QJsonArray searchJson(const QString &query)
    {
        const Result result = furrow({"search", query, "--json"});
        EXPECT_EQ(result.exitCode, 0) << result.errorOutput.toStdString();
        return QJsonDocument::fromJson(result.output.toUtf8()).array();
    }

    // Adds the tasks, searches for the bank, closes what it found by its id and reopens it.
    void findCloseAndReopen()
    {
        EXPECT_EQ(furrow({"add", "Call the bank"}).exitCode, 0);
        EXPECT_EQ(furrow({"add", "Water the plants"}).exitCode, 0);
        EXPECT_EQ(furrow({"search", "bank", "call"}).output,
                  QStringLiteral("Call the bank · Inbox › Today\n"));
        const QJsonArray found = searchJson(QStringLiteral("BANK"));
        ASSERT_EQ(found.size(), 1);
        const QString id = found[0][QStringLiteral("id")].toString();
        EXPECT_EQ(found[0][QStringLiteral("state")].toString(), QStringLiteral("open"));

        EXPECT_EQ(furrow({"done", id}).exitCode, 0);
        EXPECT_EQ(searchJson(QStringLiteral("bank"))[0][QStringLiteral("state")].toString(),
                  QStringLiteral("done"));
        EXPECT_EQ(furrow({"reopen", id}).exitCode, 0);
        EXPECT_EQ(searchJson(QStringLiteral("bank"))[0][QStringLiteral("state")].toString(),
                  QStringLiteral("open"));

        const Result unknown = furrow({"done", "00000000-0000-0000-0000-000000000001"});
        EXPECT_EQ(unknown.exitCode, 1);
        EXPECT_TRUE(
            unknown.errorOutput.contains(QStringLiteral("00000000-0000-0000-0000-000000000001")));
    }

    QTemporaryDir folder;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

TEST_F(FindProcessTest, withoutAPlanner_searchFindsAndIdsCloseAndReopen)
{
    findCloseAndReopen();
}

TEST_F(FindProcessTest, throughTheRunningPlanner_searchFindsAndIdsCloseAndReopen)
{
    QProcess planner;
    planner.setProcessEnvironment(environment);
    planner.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    planner.start(QStringLiteral(FURROW_EXECUTABLE), QStringList());
    ASSERT_TRUE(planner.waitForReadyRead(30000));
    findCloseAndReopen();
    planner.terminate();
    EXPECT_TRUE(planner.waitForFinished(30000));
}

} // namespace
} // namespace furrow
