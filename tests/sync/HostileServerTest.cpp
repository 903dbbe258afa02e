// A server that forges, moves or strips sealed bodies, or an address that would hand the token
// to the network in the clear: nothing of it may reach the user's tasks or leave the machine.

#include "ScriptedSyncServer.h"
#include "TestPrinters.h"

#include "sync/SyncCrypto.h"
#include "sync/SyncEngine.h"
#include "sync/SyncRecordMapping.h"

#include "model/Clock.h"
#include "model/ModelContext.h"
#include "model/TaskItem.h"
#include "model/UserDefaults.h"

#include <QNetworkProxy>
#include <QTest>

#include <gtest/gtest.h>

namespace furrow {
namespace {

using namespace std::chrono_literals;

const Instant kNow = instantFromMicroseconds(1733400000062500);
const QString kPhrase = QStringLiteral("correct horse battery staple");
const qint64 kLater = 1733500000000;

class HostileServerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Clock::setNow(kNow);
        configure(m_server.url);
        m_rent = add("Pay the rent");
        m_plumber = add("Call the plumber");
        m_gone = add("Old errand");
        m_gone->setDeletedAt(kNow);
        m_context.save();
    }
    void TearDown() override
    {
        m_engine.reset();
        m_defaults->clear();
        Clock::useSystemTime();
    }

    void configure(const QString &address)
    {
        m_defaults->setValue("sync.address", address);
        m_defaults->setValue("sync.token", "token");
        m_defaults->setValue("sync.phrase", kPhrase);
        m_defaults->setValue("sync.on", true);
        m_engine = std::make_unique<SyncEngine>(m_context, SyncEngine::Timing{1h, 1h, 5s});
    }
    TaskItem *add(const QString &title)
    {
        return m_context.insert(std::make_shared<TaskItem>(title, nullptr, 0, nullptr));
    }
    // What the planner pushed for `task` in its first cycle.
    SyncRecord pushed(const TaskItem &task) const
    {
        for (const auto &request : m_server.sent)
            for (const SyncRecord &record : request.changes)
                if (record.id == idText(task.id()))
                    return record;
        ADD_FAILURE() << "not pushed";
        return {};
    }
    // Title and tombstone of every task, in the order of the store.
    std::vector<std::pair<QString, bool>> tasks() const
    {
        std::vector<std::pair<QString, bool>> out;
        for (const auto &task : m_context.rows<TaskItem>())
            out.emplace_back(task->title(), task->deletedAt().has_value());
        return out;
    }

    ScriptedSyncServer m_server;
    ModelContext m_context;
    std::unique_ptr<QSettings> m_defaults = UserDefaults::open();
    std::unique_ptr<SyncEngine> m_engine;
    TaskItem *m_rent = nullptr;
    TaskItem *m_plumber = nullptr;
    TaskItem *m_gone = nullptr;
};

TEST_F(HostileServerTest, plainMovedAndForgedTombstoneRecords_areRefused_andTasksStayAsTheyWere)
{
    ASSERT_TRUE(m_engine->syncAndWait());
    const SyncRecord rent = pushed(*m_rent), gone = pushed(*m_gone);
    ASSERT_TRUE(gone.deleted);
    EXPECT_EQ(gone.body.size(), 1u) << "a tombstone leaves sealed like any record";
    const auto before = tasks();

    const SyncRecord plain{SyncKind::task,
                           QStringLiteral("00000000-0000-0000-0000-000000000041"),
                           kLater,
                           false,
                           {{QStringLiteral("title"), SyncValue::text("Injected")}}};
    SyncRecord moved = rent;
    moved.id = idText(m_plumber->id());
    moved.updatedAt = kLater;
    SyncRecord tombstone = rent;
    tombstone.updatedAt = kLater;
    tombstone.deleted = true;
    SyncRecord revived = gone;
    revived.updatedAt = kLater;
    revived.deleted = false;
    // One honest record from another computer, so the page itself is not refused.
    const SyncRecord honest = SyncCrypto::fromPhrase(kPhrase)->sealed(
        {SyncKind::task,
         QStringLiteral("00000000-0000-0000-0000-000000000042"),
         kLater,
         false,
         {{QStringLiteral("title"), SyncValue::text("From the laptop")}}});
    m_server.fallback.body
        = SyncResponse{9, 0, false, {plain, moved, tombstone, revived, honest}}.encode();

    EXPECT_FALSE(m_engine->syncAndWait());
    EXPECT_EQ(m_engine->status().message,
              QStringLiteral("4 записей не прочитались — проверьте секретную фразу"));
    auto expected = before;
    expected.emplace_back("From the laptop", false);
    EXPECT_EQ(tasks(), expected);
}

TEST_F(HostileServerTest, plainHttpToAnotherComputer_sendsNothing)
{
    // Every plain HTTP request, whatever its host, would reach the scripted server through this
    // proxy: a refused address must not produce one.
    QNetworkProxy::setApplicationProxy(QNetworkProxy(
        QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), m_server.server.serverPort()));
    configure(QStringLiteral("http://sync.example.org/v1/sync"));
    EXPECT_FALSE(m_engine->syncAndWait());
    EXPECT_EQ(m_engine->status(), SyncStatus::failed(SyncExchange::unsafeEndpointMessage()));

    SyncExchange exchange({});
    std::optional<SyncExchange::Outcome> outcome;
    exchange.send({"device", 0, {}}, QUrl("http://10.0.0.2:8080/v1/sync"), "token",
                  [&](SyncExchange::Outcome result) { outcome = std::move(result); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcome.has_value(); }));
    EXPECT_EQ(std::get<QString>(*outcome), SyncExchange::unsafeEndpointMessage());
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    EXPECT_EQ(m_server.connections, 0);
}

} // namespace
} // namespace furrow
