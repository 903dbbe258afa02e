// Two desks and the sync server as a user has them: desk A a running planner with its window on
// an X display, desk B the `furrow` command. Needs a display and xdotool; skipped without them.

#include "persistence/PlannerArchive.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace furrow {
namespace {

const QString kToken = QStringLiteral("desk-token-5e0f");

struct Outcome
{
    int exitCode = -1;
    QString output;
};

// A home of its own, set up to sync with the server at `url`.
class Desk
{
public:
    explicit Desk(const QString &url)
    {
        const QString home = m_home.path();
        QDir(home).mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(home + "/runtime", QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                     | QFileDevice::ExeOwner);
        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.insert("HOME", home);
        m_environment.insert("XDG_DATA_HOME", home + "/data");
        m_environment.insert("XDG_CONFIG_HOME", home + "/config");
        m_environment.insert("XDG_RUNTIME_DIR", home + "/runtime");
        m_environment.insert("QT_QPA_PLATFORM", "xcb");
        m_environment.insert("FURROW_REDUCE_MOTION", "1");
        QDir(home).mkpath("config/Furrow");
        QFile settings(home + "/config/Furrow/Furrow.conf");
        EXPECT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write(QStringLiteral("[General]\nsync.address=%1\nsync.token=%2\n"
                                      "sync.phrase=two desks one phrase\nsync.on=true\n")
                           .arg(url, kToken)
                           .toUtf8());
    }

    Outcome run(const QStringList &arguments) const
    {
        QProcess process;
        process.setProcessEnvironment(m_environment);
        process.start(QStringLiteral(FURROW_EXECUTABLE), arguments);
        EXPECT_TRUE(process.waitForFinished(60'000)) << arguments.join(' ').toStdString();
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()
                                                      + process.readAllStandardError())};
    }
    void sync() const
    {
        const Outcome outcome = run({"sync"});
        EXPECT_EQ(outcome.exitCode, 0) << outcome.output.toStdString();
    }
    // The section of every task, by title.
    std::map<QString, std::string> sectionsByTitle() const
    {
        const QString file = m_home.filePath("export.json");
        EXPECT_EQ(run({"export", file}).exitCode, 0);
        QFile exported(file);
        EXPECT_TRUE(exported.open(QIODevice::ReadOnly));
        std::map<QString, std::string> result;
        for (const auto &task : PlannerArchive::decode(exported.readAll()).tasks)
            result[task.title] = task.section.value_or(QString()).toStdString();
        return result;
    }

    void startPlanner()
    {
        m_planner.setProcessEnvironment(m_environment);
        m_planner.setProcessChannelMode(QProcess::ForwardedChannels);
        m_planner.start(QStringLiteral(FURROW_EXECUTABLE), {});
        ASSERT_TRUE(m_planner.waitForStarted());
    }
    bool plannerRunning() const { return m_planner.state() == QProcess::Running; }
    void stopPlanner()
    {
        m_planner.terminate();
        EXPECT_TRUE(m_planner.waitForFinished(30'000));
    }

private:
    QTemporaryDir m_home;
    QProcessEnvironment m_environment;
    QProcess m_planner;
};

int xdotool(const QStringList &arguments, QString *output = nullptr)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForFinished(30'000))
        return -1;
    if (output)
        *output = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    return process.exitCode();
}

// The sync server on a free loopback port, with one token.
class Server
{
public:
    Server()
    {
        QFile tokens(m_folder.filePath("tokens"));
        EXPECT_TRUE(tokens.open(QIODevice::WriteOnly) && tokens.write(kToken.toUtf8() + "\n"));
        tokens.close();
        m_process.start(QStringLiteral(FURROW_SYNC_SERVER),
                        {"--listen", "127.0.0.1:0", "--tokens", tokens.fileName(), "--db",
                         m_folder.filePath("sync.db")});
        const QRegularExpression listening(QStringLiteral("слушает (http://127\\.0\\.0\\.1:\\d+)"));
        QByteArray said;
        while (m_url.isEmpty() && m_process.waitForReadyRead(10'000)) {
            said += m_process.readAllStandardOutput();
            m_url = listening.match(QString::fromUtf8(said)).captured(1);
        }
        m_url += "/v1/sync";
    }
    ~Server()
    {
        m_process.terminate();
        m_process.waitForFinished(10'000);
    }
    const QString &url() const { return m_url; }

private:
    QTemporaryDir m_folder;
    QProcess m_process;
    QString m_url;
};

TEST(UndoAcrossDesksTest, undoOnADeskAfterTheOtherFiledIntoItsSection_keepsTheTaskFiled)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") || xdotool({"version"}) != 0)
        GTEST_SKIP() << "needs an X display and xdotool";
    Server server;
    ASSERT_TRUE(server.url().startsWith("http://"));
    Desk a(server.url()), b(server.url());

    // Desk A starts: its window makes the starter page, whose sections reach the server.
    a.startPlanner();
    QString window;
    ASSERT_EQ(xdotool({"search", "--sync", "--onlyvisible", "--name", "Furrow"}, &window), 0);
    window = window.section('\n', 0, 0);
    a.sync();

    // Desk B files a task where new tasks go: the first section of A's starter page.
    b.sync();
    ASSERT_EQ(b.run({"add", "Filed on desk B"}).exitCode, 0);
    b.sync();
    a.sync();
    const std::string section = a.sectionsByTitle()["Filed on desk B"];
    ASSERT_FALSE(section.empty());
    ASSERT_EQ(a.run({"add", "Only on desk A"}).exitCode, 0);

    // Ctrl+Z in A's window: first the task only A has, then the step that made the starter page.
    ASSERT_EQ(xdotool({"mousemove", "--window", window, "300", "300"}), 0);
    ASSERT_EQ(xdotool({"windowfocus", "--sync", window}), 0);
    const auto undo = [&] {
        ASSERT_EQ(xdotool({"key", "ctrl+z"}), 0);
        QThread::msleep(500);
        ASSERT_TRUE(a.plannerRunning());
    };
    undo();
    ASSERT_FALSE(a.sectionsByTitle().contains("Only on desk A")) << "the keys reach the window";
    undo();

    a.sync();
    b.sync();
    EXPECT_EQ(a.sectionsByTitle()["Filed on desk B"], section);
    EXPECT_EQ(b.sectionsByTitle()["Filed on desk B"], section);
    a.stopPlanner();
    EXPECT_EQ(a.sectionsByTitle()["Filed on desk B"], section) << "after a restart";
}

} // namespace
} // namespace furrow
