#include "shell/SingleInstance.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocalServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <future>

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

class SingleInstanceTest : public ::testing::Test
{
protected:
    QString storePath() const { return folder.filePath(QStringLiteral("furrow.store")); }
    QTemporaryDir folder;
};

TEST_F(SingleInstanceTest, secondLaunch_getsThePrimarysAnswer)
{
    SingleInstance primary(storePath());
    QStringList received;
    ASSERT_TRUE(primary.listen([&](const QStringList &arguments, SingleInstance::Respond respond) {
        received = arguments;
        respond({3, QStringLiteral("done ✓"), QStringLiteral("careful")});
    }));

    SingleInstance secondary(storePath());
    const auto reply
        = forwardWhileServing(secondary, {QStringLiteral("add"), QStringLiteral("Milk #home")});
    ASSERT_TRUE(reply);
    EXPECT_EQ(received, (QStringList{"add", "Milk #home"}));
    EXPECT_EQ(reply->exitCode, 3);
    EXPECT_EQ(reply->output, QStringLiteral("done ✓"));
    EXPECT_EQ(reply->errorOutput, QStringLiteral("careful"));
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
    QFile stale(instance.socketPath());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    EXPECT_TRUE(instance.listen([](const QStringList &, SingleInstance::Respond r) { r({}); }));
}

} // namespace
} // namespace furrow
