#include "shell/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <future>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace furrow {
namespace {

using Reply = SingleInstance::Reply;

// Forwards from another thread while this one runs the event loop that serves the request.
std::optional<Reply> forwardWhileServing(const SingleInstance &secondary, const QStringList &args)
{
    auto pending = std::async(std::launch::async, [&] { return secondary.forward(args); });
    while (pending.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready)
        QCoreApplication::processEvents();
    return pending.get();
}

// Runs the event loop until the forked child has ended; answers its exit status.
int serveUntilExited(pid_t child)
{
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return status;
}

// In a forked child: takes on the identity of "nobody", for the tests of a second local user.
// Only calls that are safe after fork() in a threaded process.
void becomeNobody()
{
    constexpr uid_t kNobody = 65534;
    ::alarm(20); // a child that waits for nothing that comes must not outlive the test
    if (::setresgid(kNobody, kNobody, kNobody) != 0 || ::setresuid(kNobody, kNobody, kNobody) != 0)
        ::_exit(2);
}

sockaddr_un addressOf(const QString &path)
{
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    return address;
}

class SingleInstanceTest : public ::testing::Test
{
protected:
    QString storePath() const { return folder.filePath(QStringLiteral("furrow.store")); }
    QString runFolder() const { return folder.filePath(QStringLiteral("run")); }
    static bool listenWith(SingleInstance &instance)
    {
        return instance.listen([](const QStringList &, SingleInstance::Respond r) { r({}); });
    }
    QTemporaryDir folder;
};

TEST_F(SingleInstanceTest, secondLaunch_getsThePrimarysAnswer_withoutControlCharacters)
{
    SingleInstance primary(storePath());
    QStringList received;
    ASSERT_TRUE(primary.listen([&](const QStringList &arguments, SingleInstance::Respond respond) {
        received = arguments;
        respond({3, QStringLiteral("done ✓ \x1b]0;title\x07two\r\nlines\tand\u009b2J tab"),
                 QStringLiteral("careful \x1b[31mred\x7f\n")});
    }));

    SingleInstance secondary(storePath());
    const auto reply
        = forwardWhileServing(secondary, {QStringLiteral("add"), QStringLiteral("Milk #home")});
    ASSERT_TRUE(reply);
    EXPECT_EQ(received, (QStringList{"add", "Milk #home"}));
    EXPECT_EQ(reply->exitCode, 3);
    EXPECT_EQ(reply->output, QStringLiteral("done ✓ ]0;titletwo\nlines\tand2J tab"));
    EXPECT_EQ(reply->errorOutput, QStringLiteral("careful [31mred\n"));
}

TEST_F(SingleInstanceTest, socketLivesInAPrivateFolderBesideTheStore_whateverTheEnvironment)
{
    SingleInstance primary(storePath());
    ASSERT_TRUE(listenWith(primary)) << primary.problem().toStdString();
    EXPECT_EQ(QFileInfo(primary.socketPath()).path(), runFolder());
    struct stat status;
    ASSERT_EQ(::lstat(QFile::encodeName(runFolder()).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0700u);

    // A launch from cron, su or ssh has no runtime folder, or another temporary folder.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const std::optional<QByteArray> temporary
        = qEnvironmentVariableIsSet("TMPDIR") ? std::optional(qgetenv("TMPDIR")) : std::nullopt;
    const auto restore = qScopeGuard([&] {
        qputenv("XDG_RUNTIME_DIR", runtime);
        if (temporary)
            qputenv("TMPDIR", *temporary);
        else
            qunsetenv("TMPDIR");
    });
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", QFile::encodeName(folder.path()));
    const SingleInstance elsewhere(storePath());
    EXPECT_EQ(elsewhere.socketPath(), primary.socketPath());
    EXPECT_TRUE(forwardWhileServing(elsewhere, {}));
}

// The folder a second user could have prepared before our planner starts: open to others,
// theirs, or a link to a folder of ours.
enum class Planted { OpenToOthers, OtherUsers, Link };

class PlantedFolderTest : public SingleInstanceTest, public ::testing::WithParamInterface<Planted>
{
};

TEST_P(PlantedFolderTest, isRefused_byTheListenerAndByTheLaunchThatForwards)
{
    switch (GetParam()) {
    case Planted::OpenToOthers:
        ASSERT_TRUE(QDir().mkdir(runFolder()));
        ASSERT_EQ(::chmod(QFile::encodeName(runFolder()).constData(), 0777), 0);
        break;
    case Planted::OtherUsers:
        if (::geteuid() != 0)
            GTEST_SKIP() << "needs root to hand a folder to another user";
        ASSERT_TRUE(QDir().mkdir(runFolder()));
        ASSERT_EQ(::chmod(QFile::encodeName(runFolder()).constData(), 0700), 0);
        ASSERT_EQ(::chown(QFile::encodeName(runFolder()).constData(), 65534, 65534), 0);
        break;
    case Planted::Link:
        ASSERT_TRUE(QDir().mkdir(folder.filePath("private")));
        ASSERT_EQ(::chmod(QFile::encodeName(folder.filePath("private")).constData(), 0700), 0);
        ASSERT_TRUE(QFile::link(folder.filePath("private"), runFolder()));
        break;
    }
    SingleInstance primary(storePath());
    EXPECT_FALSE(listenWith(primary));
    EXPECT_TRUE(primary.problem().contains(runFolder())) << primary.problem().toStdString();
    EXPECT_FALSE(QFileInfo::exists(primary.socketPath())) << "no socket of ours appears there";

    // Whoever listens in that folder never hears from a later launch.
    QLocalServer planted;
    int heard = 0;
    QObject::connect(&planted, &QLocalServer::newConnection, [&] {
        ++heard;
        planted.nextPendingConnection()->abort();
    });
    planted.setSocketOptions(QLocalServer::WorldAccessOption);
    if (GetParam() != Planted::OtherUsers) {
        ASSERT_TRUE(planted.listen(primary.socketPath()));
    }
    EXPECT_FALSE(forwardWhileServing(SingleInstance(storePath()), {"add", "secret"}));
    EXPECT_EQ(heard, 0);
}

INSTANTIATE_TEST_SUITE_P(SecondUser, PlantedFolderTest,
                         ::testing::Values(Planted::OpenToOthers, Planted::OtherUsers,
                                           Planted::Link));

TEST_F(SingleInstanceTest, aListenerOfAnotherUser_getsNoCommandLineAndIsNotBelieved)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    SingleInstance secondary(storePath());
    ASSERT_TRUE(QDir().mkdir(runFolder()));
    ASSERT_EQ(::chmod(QFile::encodeName(runFolder()).constData(), 0700), 0);
    const sockaddr_un address = addressOf(secondary.socketPath());
    int listening[2];
    ASSERT_EQ(::pipe(listening), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Bound in our folder, but listening as nobody: the credentials a peer sees.
        const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::bind(server, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0)
            ::_exit(3);
        becomeNobody();
        ::listen(server, 1);
        ::write(listening[1], "L", 1);
        const int peer = ::accept(server, nullptr, nullptr);
        const char answer[] = "{\"exit\":0,\"out\":\"all done\"}\n";
        ::write(peer, answer, sizeof answer - 1);
        char request[256];
        ::_exit(::read(peer, request, sizeof request) > 0 ? 4 : 0);
    }
    char ready = 0;
    ASSERT_EQ(::read(listening[0], &ready, 1), 1);
    ::close(listening[0]);
    ::close(listening[1]);
    EXPECT_FALSE(forwardWhileServing(secondary, {"add", "secret"}));
    const int status = serveUntilExited(child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the command line was not sent";
}

TEST_F(SingleInstanceTest, aLaunchOfAnotherUser_isDroppedUnheard)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    SingleInstance primary(storePath());
    int handled = 0;
    ASSERT_TRUE(primary.listen([&](const QStringList &, SingleInstance::Respond respond) {
        ++handled;
        respond({0, QStringLiteral("served"), {}});
    }));
    // Make the socket reachable to others, as a careless folder would; the peer check remains.
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0711), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(runFolder()).constData(), 0711), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(primary.socketPath()).constData(), 0777), 0);
    const sockaddr_un address = addressOf(primary.socketPath());
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        becomeNobody();
        const int client = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::connect(client, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0)
            ::_exit(3);
        const char request[] = "{\"arguments\":[\"export\",\"/tmp/stolen.json\"]}\n";
        ::write(client, request, sizeof request - 1);
        char answer[256];
        ::_exit(::read(client, answer, sizeof answer) > 0 ? 4 : 0);
    }
    const int status = serveUntilExited(child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "no answer reached nobody";
    EXPECT_EQ(handled, 0);
}

TEST_F(SingleInstanceTest, primaryMayAnswerLater)
{
    SingleInstance primary(storePath());
    SingleInstance::Respond later;
    primary.listen([&](const QStringList &, SingleInstance::Respond respond) { later = respond; });
    SingleInstance secondary(storePath());
    auto pending = std::async(std::launch::async, [&] { return secondary.forward({}); });
    while (!later)
        QCoreApplication::processEvents();
    later({0, QStringLiteral("late"), {}});
    while (pending.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready)
        QCoreApplication::processEvents();
    EXPECT_EQ(pending.get()->output, QStringLiteral("late"));
}

TEST_F(SingleInstanceTest, onlyOnePrimaryPerStore_andWithoutOneForwardingFindsNobody)
{
    EXPECT_FALSE(SingleInstance(storePath()).forward({QStringLiteral("x")}));
    SingleInstance first(storePath());
    ASSERT_TRUE(first.listen([](const QStringList &, SingleInstance::Respond r) { r({}); }));
    SingleInstance second(storePath());
    EXPECT_FALSE(second.listen([](const QStringList &, SingleInstance::Respond r) { r({}); }));
    SingleInstance otherStore(folder.filePath(QStringLiteral("other.store")));
    EXPECT_TRUE(otherStore.listen([](const QStringList &, SingleInstance::Respond r) { r({}); }));
}

TEST_F(SingleInstanceTest, socketLeftByADeadProcess_isTakenOver)
{
    SingleInstance instance(storePath());
    ASSERT_TRUE(QDir().mkdir(runFolder()));
    ASSERT_EQ(::chmod(QFile::encodeName(runFolder()).constData(), 0700), 0);
    QFile stale(instance.socketPath());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    EXPECT_TRUE(instance.listen([](const QStringList &, SingleInstance::Respond r) { r({}); }));
}

} // namespace
} // namespace furrow
