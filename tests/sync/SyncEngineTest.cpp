#include "TestHttpServer.h"
#include "TestPrinters.h"

#include "sync/SyncCrypto.h"
#include "sync/SyncEngine.h"
#include "sync/SyncRecordMapping.h"
#include "sync/SyncTime.h"

#include "model/Clock.h"
#include "model/ModelContext.h"
#include "model/PlannerNotifications.h"
#include "model/UserDefaults.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>

#include <gtest/gtest.h>

namespace furrow {
namespace {

using namespace std::chrono_literals;
using test::TestHttpServer;

const Instant kNow = instantFromMicroseconds(1733400000062500);
const QString kPhrase = QStringLiteral("correct horse");
const QString kToken = QStringLiteral(" token with spaces ");

QByteArray page(qint64 seq, bool more, const std::vector<SyncRecord> &changes = {})
{
    return SyncResponse{seq, qint64(changes.size()), more, changes}.encode();
}

SyncRecord sealedTask(const QString &id, qint64 updatedAt, SyncBody body,
                      const QString &phrase = kPhrase)
{
    return SyncCrypto::fromPhrase(phrase)->sealed({SyncKind::task, id, updatedAt, false, body});
}

QString uuid(int n)
{
    return QStringLiteral("00000000-0000-0000-0000-%1").arg(n, 12, 10, QLatin1Char('0'));
}

bool waitUntil(const std::function<bool()> &condition, std::chrono::milliseconds limit = 5s)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < limit.count())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return condition();
}

class SyncEngineTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Clock::setNow(kNow);
        m_defaults = UserDefaults::open();
        m_defaults->clear();
        configure(m_server.url(), kToken, kPhrase, true);
    }
    void TearDown() override
    {
        m_engine.reset();
        m_defaults->clear();
        m_defaults->sync();
        Clock::useSystemTime();
    }

    void configure(const QString &address, const QString &token, const QString &phrase, bool on)
    {
        m_defaults->setValue("sync.address", address);
        m_defaults->setValue("sync.token", token);
        m_defaults->setValue("sync.phrase", phrase);
        m_defaults->setValue("sync.on", on);
        m_defaults->sync();
    }

    SyncEngine &engine(SyncEngine::Timing timing = {1h, 1h, 5s})
    {
        m_engine = std::make_unique<SyncEngine>(m_context, timing);
        return *m_engine;
    }

    SyncRequest request(std::size_t index) const
    {
        return SyncRequest::decode(m_server.requests().at(index).body);
    }
    qint64 storedCursor() const { return m_defaults->value("sync.cursor", 0).toLongLong(); }

    TestHttpServer m_server;
    ModelContext m_context;
    std::unique_ptr<QSettings> m_defaults;
    std::unique_ptr<SyncEngine> m_engine;
};

TEST_F(SyncEngineTest, failedExchanges_setTheirMessagesAndKeepTheCursor)
{
    m_defaults->setValue("sync.cursor", 17);
    const std::tuple<int, QByteArray, const char *> cases[]
        = {{401, {}, "сервер не принял токен"},
           {404, {}, "адрес не тот — сервер не знает такого пути"},
           {413, {}, "слишком большая посылка"},
           {500, {}, "сервер ответил ошибкой 500"},
           {503, page(1, false), "сервер ответил ошибкой 503"},
           {201, page(1, false), "сервер ответил 201"},
           {204, {}, "сервер ответил 204"},
           {400, {}, "сервер ответил 400"},
           {200, R"({"seq":3,"accepted":0,"changes":[]})",
            "[json.exception.out_of_range.403] key 'more' not found"},
           {200, "<html>", "[json.exception.parse_error"}};
    SyncEngine &sync = engine();
    for (const auto &[status, body, message] : cases) {
        m_server.enqueue({status, body});
        EXPECT_FALSE(sync.syncAndWait());
        EXPECT_EQ(sync.status().kind, SyncStatus::Kind::Failed);
        EXPECT_TRUE(sync.status().message.startsWith(QString::fromUtf8(message)))
            << status << ": " << sync.status().message.toStdString();
    }
    EXPECT_EQ(storedCursor(), 17);
}

TEST_F(SyncEngineTest, request_carriesTheHeadersTheDeviceAndSealedChanges)
{
    SyncEngine &sync = engine();
    EXPECT_TRUE(sync.syncAndWait());
    EXPECT_TRUE(request(0).changes.empty()) << "with nothing either way, it still asks once";
    EXPECT_EQ(sync.status(), SyncStatus::done(kNow, 0));

    auto *task = m_context.insert(
        std::make_shared<TaskItem>(QStringLiteral("Plumber"), nullptr, 0, nullptr));
    m_defaults->setValue("sync.cursor", 41);
    EXPECT_TRUE(sync.syncAndWait());
    ASSERT_EQ(m_server.requests().size(), 2u);
    const TestHttpServer::Request &http = m_server.requests()[1];
    EXPECT_EQ(http.method, "POST");
    EXPECT_EQ(http.path, "/v1/sync");
    EXPECT_EQ(http.headers.value("content-type"), "application/json");
    // Header values lose their outer spaces on the way; the token's inner ones arrive as typed.
    EXPECT_EQ(http.headers.value("authorization"), "Bearer  token with spaces");
    const SyncRequest sent = request(1);
    EXPECT_EQ(sent.since, 41);
    EXPECT_EQ(sent.device, m_defaults->value("sync.device").toString());
    EXPECT_TRUE(parseSyncId(sent.device));
    ASSERT_EQ(sent.changes.size(), 1u);
    EXPECT_EQ(sent.changes[0].id, idText(task->id()));
    EXPECT_EQ(sent.changes[0].body.size(), 1u);
    qint64 unreadable = 0;
    const auto key = SyncCrypto::fromPhrase(kPhrase);
    const auto opened = SyncCrypto::open(sent.changes, &*key, unreadable);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].body, syncRecord(*task).body);
}

TEST_F(SyncEngineTest, threePages_pushOnceFollowTheCursorAndCountEverything)
{
    m_context.insert(std::make_shared<TaskItem>(QStringLiteral("local"), nullptr, 0, nullptr));
    m_server.enqueue({200, page(5, true, {sealedTask(uuid(1), 1733500000000, {})})});
    m_server.enqueue({200, page(9, true, {sealedTask(uuid(2), 1733500000000, {})})});
    m_server.enqueue({200, page(12, false,
                                {sealedTask(uuid(3), 1733500000000, {}),
                                 sealedTask(uuid(4), 1733500000000, {})})});
    SyncEngine &sync = engine();
    QSignalSpy statuses(&sync, &SyncEngine::statusChanged);
    EXPECT_TRUE(sync.syncAndWait());

    ASSERT_EQ(m_server.requests().size(), 3u);
    EXPECT_EQ(request(0).since, 0);
    EXPECT_EQ(request(0).changes.size(), 1u);
    EXPECT_EQ(request(1).since, 5);
    EXPECT_TRUE(request(1).changes.empty());
    EXPECT_EQ(request(2).since, 9);
    EXPECT_TRUE(request(2).changes.empty());
    EXPECT_EQ(storedCursor(), 12);
    EXPECT_EQ(m_defaults->value("sync.mark").toDouble(), SyncTime::seconds(kNow));
    EXPECT_EQ(sync.status(), SyncStatus::done(kNow, 4));
    ASSERT_EQ(statuses.size(), 2);
    EXPECT_EQ(statuses[0][0].value<SyncStatus>().kind, SyncStatus::Kind::Running);
    EXPECT_EQ(m_context.rows<TaskItem>().size(), 5u);
    EXPECT_FALSE(m_context.hasChanges());

    // Records received now carry times later than the mark, so they go back once.
    EXPECT_TRUE(sync.syncAndWait());
    EXPECT_EQ(request(3).since, 12);
    EXPECT_EQ(request(3).changes.size(), 4u);
    EXPECT_TRUE(sync.syncAndWait());
    EXPECT_TRUE(request(4).changes.empty());
}

TEST_F(SyncEngineTest, cyclesThatCannotStart_sendNothing)
{
    const QString emptyPhrase
        = QStringLiteral("Задайте секретную фразу — без неё задачи ушли бы читаемыми");
    m_context.insert(std::make_shared<TaskItem>(QStringLiteral("secret"), nullptr, 0, nullptr));
    // Address, token, phrase, on → the status afterwards; only the last two say why.
    const std::tuple<QString, QString, QString, bool, SyncStatus> cases[]
        = {{QStringLiteral("   "), kToken, kPhrase, true, SyncStatus::idle()},
           {m_server.url(), QString(), kPhrase, true, SyncStatus::idle()},
           {m_server.url(), kToken, kPhrase, false, SyncStatus::off()},
           {m_server.url(), kToken, QStringLiteral(" \n "), true, SyncStatus::failed(emptyPhrase)},
           {m_server.url(), QStringLiteral("pasted-token\n"), kPhrase, true,
            SyncStatus::failed(SyncExchange::unsendableTokenMessage())}};
    for (const auto &[address, token, phrase, on, status] : cases) {
        configure(address, token, phrase, on);
        SyncEngine &sync = engine();
        EXPECT_FALSE(sync.syncAndWait());
        EXPECT_EQ(sync.status(), status) << sync.status().message.toStdString();
    }
    EXPECT_TRUE(m_server.requests().empty());
}

TEST_F(SyncEngineTest, failureOnALaterPage_appliesNothingAndTheRetryLinksEverything)
{
    const QString sectionId = uuid(20);
    const std::vector<SyncRecord> first{sealedTask(
        uuid(1), 1733500000000, {{QStringLiteral("section"), SyncValue::text(sectionId)}})};
    const std::vector<SyncRecord> second{SyncCrypto::fromPhrase(kPhrase)->sealed(
        {SyncKind::section, sectionId, 1733500000000, false, {}})};
    m_server.enqueue({200, page(5, true, first)});
    m_server.enqueue({500, {}});
    SyncEngine &sync = engine();
    EXPECT_FALSE(sync.syncAndWait());
    EXPECT_EQ(sync.status(), SyncStatus::failed(QStringLiteral("сервер ответил ошибкой 500")));
    EXPECT_TRUE(m_context.rows<TaskItem>().empty());
    EXPECT_FALSE(m_context.hasChanges());
    EXPECT_EQ(storedCursor(), 0);

    m_server.enqueue({200, page(5, true, first)});
    m_server.enqueue({200, page(8, false, second)});
    EXPECT_TRUE(sync.syncAndWait());
    EXPECT_EQ(request(2).since, 0) << "the retry asks from the same cursor";
    ASSERT_EQ(m_context.rows<TaskItem>().size(), 1u);
    const Section *section = m_context.rows<TaskItem>().front()->section();
    ASSERT_TRUE(section);
    EXPECT_EQ(idText(section->id()), sectionId);
    EXPECT_EQ(sync.status(), SyncStatus::done(kNow, 2));
}

TEST_F(SyncEngineTest, unreadableRecords_areCountedAndTheRestApplied)
{
    std::vector<SyncRecord> changes;
    for (int i = 0; i < 10; ++i)
        changes.push_back(sealedTask(uuid(i), 1733500000000, {},
                                     i < 2 ? QStringLiteral("wrong phrase") : kPhrase));
    m_server.enqueue({200, page(3, false, changes)});
    SyncEngine &sync = engine();
    EXPECT_FALSE(sync.syncAndWait());
    EXPECT_EQ(sync.status(), SyncStatus::failed(QStringLiteral(
                                 "2 записей не прочитались — проверьте секретную фразу")));
    EXPECT_EQ(m_context.rows<TaskItem>().size(), 8u);
    EXPECT_EQ(storedCursor(), 3) << "unreadable records are not fetched again";

    m_server.enqueue({200, page(4, false, {sealedTask(uuid(50), 1, {}, QStringLiteral("x"))})});
    EXPECT_FALSE(sync.syncAndWait());
    EXPECT_EQ(sync.status().message,
              QStringLiteral("одна запись не прочиталась — проверьте секретную фразу"));
}

TEST_F(SyncEngineTest, appliedChanges_areSavedWithoutAnnouncingOrBecomingUndoable)
{
    UndoHistory history;
    m_context.setUndoHistory(&history);
    QSignalSpy announced(&PlannerNotifications::center(), &PlannerNotifications::plannerDidChange);
    QSignalSpy saved(&m_context, &ModelContext::storeSaved);
    m_server.enqueue({200, page(1, false, {sealedTask(uuid(1), 1733500000000, {})})});
    SyncEngine &sync = engine();
    EXPECT_TRUE(sync.syncAndWait());
    QCoreApplication::processEvents();
    EXPECT_EQ(m_context.rows<TaskItem>().size(), 1u);
    EXPECT_FALSE(m_context.hasChanges());
    EXPECT_FALSE(history.canUndo());
    EXPECT_TRUE(history.isRecording());
    EXPECT_EQ(announced.size(), 0);
    EXPECT_EQ(saved.size(), 0);
}

class FailingBackend : public StoreBackend
{
public:
    void write(const ChangeSet &) override { throw StoreError(QStringLiteral("disk full")); }
};

TEST_F(SyncEngineTest, failedSave_failsTheCycleAndKeepsTheCursor)
{
    FailingBackend backend;
    m_context.setBackend(&backend);
    m_server.enqueue({200, page(6, false, {sealedTask(uuid(1), 1733500000000, {})})});
    SyncEngine &sync = engine();
    EXPECT_FALSE(sync.syncAndWait());
    EXPECT_EQ(sync.status(), SyncStatus::failed(QStringLiteral("disk full")));
    EXPECT_EQ(storedCursor(), 0);
    m_context.setBackend(nullptr);
}

TEST_F(SyncEngineTest, transportFailures_becomeTheirMessages)
{
    SyncEngine &sync = engine({1h, 1h, 150ms});
    m_server.enqueue({200, page(1, false), 3s});
    EXPECT_FALSE(sync.syncAndWait());
    EXPECT_EQ(sync.status().message, QStringLiteral("сервер не ответил вовремя"));

    // The HTTP client tries a request again when the server hangs up before answering.
    m_server.setDefaultReply({200, {}, 0ms, true});
    EXPECT_FALSE(sync.syncAndWait());
    EXPECT_NE(sync.status().message, QStringLiteral("не сошёлся сертификат"));
    EXPECT_FALSE(sync.status().message.isEmpty());

    sync.setAddress(QStringLiteral("https://127.0.0.1:%1").arg(m_server.port()));
    EXPECT_FALSE(sync.syncAndWait());
    EXPECT_EQ(sync.status().message, QStringLiteral("не сошёлся сертификат"));

    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const quint16 freePort = closed.serverPort();
    closed.close();
    sync.setAddress(QStringLiteral("http://127.0.0.1:%1/v1/sync").arg(freePort));
    EXPECT_FALSE(sync.syncAndWait());
    EXPECT_EQ(sync.status().message, QStringLiteral("сервер недоступен по этому адресу"));
}

TEST_F(SyncEngineTest, localSaves_nudgeACycleAndThePeriodRepeatsIt)
{
    SyncEngine &sync = engine({1h, 20ms, 5s});
    Q_EMIT PlannerNotifications::center().plannerDidChange();
    Q_EMIT PlannerNotifications::center().plannerDidChange();
    EXPECT_TRUE(waitUntil([&] { return sync.status().kind == SyncStatus::Kind::Done; }));
    EXPECT_EQ(m_server.requests().size(), 1u) << "a burst of saves leads to one cycle";

    engine({30ms, 1h, 5s}).start();
    EXPECT_TRUE(waitUntil([&] { return m_server.requests().size() >= 4; }));
}

TEST_F(SyncEngineTest, switchingOnStartsACycle_andOffStopsTheTimersButNotThatCycle)
{
    configure(m_server.url(), kToken, kPhrase, false);
    m_server.setDefaultReply({200, page(2, false), 100ms});
    SyncEngine &sync = engine({40ms, 40ms, 5s});
    EXPECT_EQ(sync.status(), SyncStatus::off());
    sync.setOn(true);
    EXPECT_EQ(sync.status(), SyncStatus::idle());
    EXPECT_TRUE(m_defaults->value("sync.on").toBool());
    ASSERT_TRUE(waitUntil([&] { return !m_server.requests().empty(); }));
    sync.setOn(false);
    EXPECT_EQ(sync.status(), SyncStatus::off());
    EXPECT_TRUE(sync.isRunning());
    EXPECT_TRUE(waitUntil([&] { return !sync.isRunning(); }));
    EXPECT_EQ(sync.status(), SyncStatus::done(kNow, 0));
    Q_EMIT PlannerNotifications::center().plannerDidChange();
    waitUntil([] { return false; }, 200ms);
    EXPECT_EQ(m_server.requests().size(), 1u);
    EXPECT_FALSE(m_defaults->value("sync.on").toBool());
}

TEST(SyncEndpoint, addressesBecomeUrls)
{
    const std::pair<const char *, const char *> cases[] = {
        {"sync.example.org", "https://sync.example.org/v1/sync"},
        {"  sync.example.org:8443/\n", "https://sync.example.org:8443/v1/sync"},
        {"http://10.0.0.2:8080/custom/path", "http://10.0.0.2:8080/custom/path"},
        {"https://host/", "https://host/v1/sync"},
        {"   ", ""},
        {"exa mple.org", ""},
    };
    for (const auto &[address, url] : cases) {
        const auto endpoint = SyncExchange::endpoint(QString::fromUtf8(address));
        EXPECT_EQ(endpoint ? endpoint->toString() : QString(), QString::fromUtf8(url)) << address;
    }
}

TEST(SyncExchangeErrors, networkErrorsMapOntoTheirMessages)
{
    const QString unreachable = QStringLiteral("сервер недоступен по этому адресу");
    const QString certificate = QStringLiteral("не сошёлся сертификат");
    const std::pair<QNetworkReply::NetworkError, QString> cases[] = {
        {QNetworkReply::HostNotFoundError, unreachable},
        {QNetworkReply::ConnectionRefusedError, unreachable},
        {QNetworkReply::NetworkSessionFailedError, QStringLiteral("нет сети")},
        {QNetworkReply::TemporaryNetworkFailureError, QStringLiteral("нет сети")},
        {QNetworkReply::OperationCanceledError, QStringLiteral("сервер не ответил вовремя")},
        {QNetworkReply::TimeoutError, QStringLiteral("сервер не ответил вовремя")},
        {QNetworkReply::SslHandshakeFailedError, certificate},
        {QNetworkReply::ProtocolFailure, QStringLiteral("own description")},
    };
    for (const auto &[error, message] : cases)
        EXPECT_EQ(SyncExchange::explainError(error, QStringLiteral("own description"), false),
                  message);
    EXPECT_EQ(SyncExchange::explainError(QNetworkReply::RemoteHostClosedError, "closed", true),
              certificate);
    EXPECT_EQ(SyncExchange::explainError(QNetworkReply::RemoteHostClosedError, "closed", false),
              "closed");
}

} // namespace
} // namespace furrow
