#pragma once

// Homes of their own for `furrow` processes on an X display, the sync server, and xdotool.

#include "persistence/PlannerArchive.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace furrow::test {

inline const QString kToken = QStringLiteral("desk-token-5e0f-Pa3Jk8Nw6Yc1");

struct Outcome
{
    int exitCode = -1;
    QString output;
};

// A home of its own; with a `url`, set up to sync with the server there.
class Desk
{
public:
    explicit Desk(const QString &url = {})
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
        if (url.isEmpty())
            return;
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

    void startPlanner(const QStringList &arguments = {})
    {
        m_planner.setProcessEnvironment(m_environment);
        m_planner.setProcessChannelMode(QProcess::ForwardedChannels);
        m_planner.start(QStringLiteral(FURROW_EXECUTABLE), arguments);
        ASSERT_TRUE(m_planner.waitForStarted());
    }
    bool plannerRunning() const { return m_planner.state() == QProcess::Running; }
    QString storePath() const
    {
        return m_home.filePath(QStringLiteral("data/Furrow/furrow.store"));
    }
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

inline int xdotool(const QStringList &arguments, QString *output = nullptr)
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

// The ids of the visible windows whose title is exactly `title`.
inline QStringList visibleWindows(const QString &title)
{
    QString ids;
    xdotool({"search", "--onlyvisible", "--name", "^" + title + "$"}, &ids);
    return ids.split('\n', Qt::SkipEmptyParts);
}

} // namespace furrow::test
