#include "ScriptedSyncServer.h"
#include "TestPrinters.h"

#include "sync/SyncCrypto.h"
#include "sync/SyncEngine.h"
#include "sync/SyncRecordMapping.h"
#include "sync/SyncStatusText.h"
#include "sync/SyncTime.h"

#include "model/Clock.h"
#include "model/ModelContext.h"
#include "model/PlannerNotifications.h"
#include "model/StarterPage.h"
#include "model/UserDefaults.h"

#include <QLocale>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace furrow {
namespace {

using namespace std::chrono_literals;

const Instant kNow = instantFromMicroseconds(1733400000062500);
const QString kPhrase = QStringLiteral("correct horse");
const QString kToken = QStringLiteral(" token with spaces ");
const QString kUnreachable = QStringLiteral("сервер недоступен по этому адресу");

QByteArray page(qint64 seq, bool more, const std::vector<SyncRecord> &changes = {})
{
    return SyncResponse{seq, qint64(changes.size()), more, changes}.encode();
}

QString uuid(int n)
{
    return QStringLiteral("00000000-0000-0000-0000-%1").arg(n, 12, 10, QLatin1Char('0'));
}

// A record from another device, changed after kNow.
SyncRecord sealed(int n, SyncBody body = {}, const QString &phrase = kPhrase,
                  const QString &kind = SyncKind::task)
{
    return SyncCrypto::fromPhrase(phrase)->sealed({kind, uuid(n), 1733500000000, false, body});
}

class SyncEngineTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Clock::setNow(kNow);
        configure(m_server.url, kToken, kPhrase, true);
    }
    void TearDown() override
    {
        m_engine.reset();
        m_defaults->clear();
        Clock::useSystemTime();
    }

    // A desk that has synced under these settings before, unless `settled` is false.
    void configure(const QString &address, const QString &token, const QString &phrase, bool on,
                   bool settled = true)
    {
        m_defaults->setValue("sync.address", address);
        m_defaults->setValue("sync.token", token);
        m_defaults->setValue("sync.phrase", phrase);
        m_defaults->setValue("sync.on", on);
        if (settled)
            m_defaults->setValue("sync.basis", SyncEngine::basisOf(address, token, phrase));
        else
            m_defaults->remove("sync.basis");
    }
    SyncEngine &engine(SyncEngine::Timing timing = {1h, 1h, 5s}, SyncEngine::Limits limits = {})
    {
        m_engine = std::make_unique<SyncEngine>(m_context, timing, limits);
        return *m_engine;
    }
    qint64 storedCursor() const { return m_defaults->value("sync.cursor", 0).toLongLong(); }

    ScriptedSyncServer m_server;
    ModelContext m_context;
    std::unique_ptr<QSettings> m_defaults = UserDefaults::open();
    std::unique_ptr<SyncEngine> m_engine;
};

TEST_F(SyncEngineTest, failures_becomeTheirMessagesAndKeepTheCursor)
{
    m_defaults->setValue("sync.cursor", 17);
    const std::pair<ScriptedSyncServer::Reply, const char *> cases[] = {
        {{401}, "сервер не принял токен"},
        {{404}, "адрес не тот — сервер не знает такого пути"},
        {{413}, "слишком большая посылка"},
        {{503, page(1, false)}, "сервер ответил ошибкой 503"},
        {{201, page(1, false)}, "сервер ответил 201"},
        {{200, R"({"seq":3,"accepted":0,"changes":[]})"},
         "[json.exception.out_of_range.403] key 'more' not found"},
        {{200, "<html>"}, "[json.exception.parse_error"},
        {{200, page(1, false), 3s}, "сервер не ответил вовремя"},
    };
    SyncEngine &sync = engine({1h, 1h, 150ms});
    for (const auto &[reply, message] : cases) {
        m_server.replies.push_back(reply);
        EXPECT_FALSE(sync.syncAndWait());
        EXPECT_TRUE(sync.status().message.startsWith(QString::fromUtf8(message)))
            << reply.status << ": " << sync.status().message.toStdString();
    }
    EXPECT_EQ(m_server.sent.at(0).since, 17);
    EXPECT_EQ(storedCursor(), 17);

    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    sync.setAddress(QStringLiteral("http://127.0.0.1:%1/v1/sync").arg(closed.serverPort()));
    closed.close();
    EXPECT_FALSE(sync.syncAndWait());
    EXPECT_EQ(sync.status().message, kUnreachable);
}

TEST_F(SyncEngineTest, threePages_pushSealedChangesOnceFollowTheCursorAndCountEverything)
{
    auto *local = m_context.insert(std::make_shared<TaskItem>("local", nullptr, 0, nullptr));
    m_server.replies = {{200, page(5, true, {sealed(1)})},
                        {200, page(9, true, {sealed(2)})},
                        {200, page(12, false, {sealed(3), sealed(4)})}};
    SyncEngine &sync = engine();
    QSignalSpy statuses(&sync, &SyncEngine::statusChanged);
    EXPECT_TRUE(sync.syncAndWait());

    ASSERT_EQ(m_server.sent.size(), 3u);
    const QByteArray head = m_server.heads.at(0);
    EXPECT_TRUE(head.contains("\r\ncontent-type: application/json\r\n")) << head.constData();
    // The token goes as typed, its inner spaces included.
    EXPECT_TRUE(head.contains("\r\nauthorization: bearer  token with spaces")) << head.constData();
    const SyncRequest &first = m_server.sent.at(0);
    EXPECT_EQ(first.device, m_defaults->value("sync.device").toString());
    EXPECT_TRUE(parseSyncId(first.device));
    ASSERT_EQ(first.changes.size(), 1u);
    EXPECT_EQ(first.changes[0].body.size(), 1u) << "only the sealed member";
    qint64 unreadable = 0;
    const SyncCrypto key = *SyncCrypto::fromPhrase(kPhrase);
    EXPECT_EQ(SyncCrypto::open(first.changes, &key, unreadable), std::vector{syncRecord(*local)});
    EXPECT_EQ(std::pair(m_server.sent.at(1).since, m_server.sent.at(1).changes.size()),
              std::pair(5ll, 0ul));
    EXPECT_EQ(std::pair(m_server.sent.at(2).since, m_server.sent.at(2).changes.size()),
              std::pair(9ll, 0ul));
    EXPECT_EQ(storedCursor(), 12);
    EXPECT_EQ(m_defaults->value("sync.mark").toDouble(), SyncTime::seconds(kNow));
    EXPECT_EQ(sync.status(), SyncStatus::done(kNow, 4));
    ASSERT_EQ(statuses.size(), 2);
    EXPECT_EQ(statuses[0][0].value<SyncStatus>(), SyncStatus::running());
    EXPECT_EQ(m_context.rows<TaskItem>().size(), 5u);

    // Records received now carry times later than the mark, so they go back once.
    EXPECT_TRUE(sync.syncAndWait());
    EXPECT_EQ(m_server.sent.at(3).since, 12);
    EXPECT_EQ(m_server.sent.at(3).changes.size(), 4u);
    EXPECT_TRUE(sync.syncAndWait());
    EXPECT_TRUE(m_server.sent.at(4).changes.empty())
        << "with nothing either way, it still asks once";
    EXPECT_EQ(sync.status(), SyncStatus::done(kNow, 0));
}

TEST_F(SyncEngineTest, cyclesThatCannotStart_sendNothing)
{
    const QString emptyPhrase
        = QStringLiteral("Задайте секретную фразу — без неё задачи ушли бы читаемыми");
    m_context.insert(std::make_shared<TaskItem>("secret", nullptr, 0, nullptr));
    // Address, token, phrase, on → the status afterwards; only the last two say why.
    const std::tuple<QString, QString, QString, bool, SyncStatus> cases[]
        = {{"   ", kToken, kPhrase, true, SyncStatus::idle()},
           {m_server.url, "", kPhrase, true, SyncStatus::idle()},
           {m_server.url, kToken, kPhrase, false, SyncStatus::off()},
           {m_server.url, kToken, " \n ", true, SyncStatus::failed(emptyPhrase)},
           // A pasted line break would be sent as a header of its own.
           {m_server.url, "pasted-token\n", kPhrase, true,
            SyncStatus::failed(SyncExchange::unsendableTokenMessage())}};
    for (const auto &[address, token, phrase, on, status] : cases) {
        configure(address, token, phrase, on);
        SyncEngine &sync = engine();
        EXPECT_FALSE(sync.syncAndWait());
        EXPECT_EQ(sync.status(), status) << sync.status().message.toStdString();
    }
    EXPECT_TRUE(m_server.sent.empty());
}

TEST_F(SyncEngineTest, failureOnALaterPage_appliesNothingAndTheRetryLinksEverything)
{
    const SyncRecord task = sealed(1, {{QStringLiteral("section"), SyncValue::text(uuid(20))}});
    const SyncRecord section = sealed(20, {}, kPhrase, SyncKind::section);
    m_server.replies = {{200, page(5, true, {task})}, {500, {}}};
    SyncEngine &sync = engine();
    EXPECT_FALSE(sync.syncAndWait());
    EXPECT_EQ(sync.status().message, "сервер ответил ошибкой 500");
    EXPECT_TRUE(m_context.rows<TaskItem>().empty());
    EXPECT_FALSE(m_context.hasChanges());
    EXPECT_EQ(storedCursor(), 0);

    m_server.replies = {{200, page(5, true, {task})}, {200, page(8, false, {section})}};
    EXPECT_TRUE(sync.syncAndWait());
    EXPECT_EQ(m_server.sent.at(2).since, 0) << "the retry asks from the same cursor";
    ASSERT_EQ(m_context.rows<TaskItem>().size(), 1u);
    const Section *linked = m_context.rows<TaskItem>().front()->section();
    ASSERT_TRUE(linked);
    EXPECT_EQ(idText(linked->id()), uuid(20));
    EXPECT_EQ(sync.status(), SyncStatus::done(kNow, 2));
}

TEST_F(SyncEngineTest, redirects_areNeverFollowed_andTheNextCyclePushesWhatTheyHeldBack)
{
    ScriptedSyncServer elsewhere;
    m_defaults->setValue("sync.cursor", 17);
    m_defaults->setValue("sync.mark", 1.5);
    m_context.insert(std::make_shared<TaskItem>("local", nullptr, 0, nullptr));
    elsewhere.fallback = {200, page(40, false, {sealed(1)})};
    SyncEngine &sync = engine();
    for (const int code : {301, 302, 303, 307, 308}) {
        m_server.replies.push_back(
            {code, page(40, false), 0ms, "Location: " + elsewhere.url.toUtf8() + "\r\n"});
        EXPECT_FALSE(sync.syncAndWait());
        EXPECT_EQ(sync.status().message,
                  QStringLiteral("сервер ответил перенаправлением (код %1) — укажите точный "
                                 "адрес сервера")
                      .arg(code));
    }
    EXPECT_EQ(elsewhere.connections, 0) << "neither the token nor the changes went elsewhere";
    EXPECT_EQ(storedCursor(), 17);
    EXPECT_EQ(m_defaults->value("sync.mark").toDouble(), 1.5);
    EXPECT_EQ(m_context.rows<TaskItem>().size(), 1u);

    EXPECT_TRUE(sync.syncAndWait());
    ASSERT_EQ(m_server.sent.size(), 6u);
    EXPECT_EQ(m_server.sent.back().since, 17);
    EXPECT_EQ(m_server.sent.back().changes.size(), 1u);
}

TEST_F(SyncEngineTest, answersWithoutEnd_failTheCycleWithTheirLimit_andApplyNothing)
{
    using Reply = ScriptedSyncServer::Reply;
    m_defaults->setValue("sync.cursor", 3);
    m_context.insert(std::make_shared<TaskItem>("local", nullptr, 0, nullptr));
    m_context.save();
    const QByteArray large = page(
        9, true, {sealed(1, {{QStringLiteral("note"), SyncValue::text(QString(2000, 'n'))}})});
    const SyncEngine::Limits limits{4096, 3 * large.size() + 1, 5};
    ASSERT_LT(large.size(), limits.answerBytes);
    const QString tooLong
        = QStringLiteral("ответ сервера превысил предел (4096 Б) — обмен прерван");
    const std::tuple<Reply, QString, size_t> cases[] = {
        {{200, page(9, true, {sealed(1)})},
         QStringLiteral("сервер слал страницу за страницей без конца (предел 5) — обмен прерван"),
         5},
        {{200, large},
         QStringLiteral("за один обмен сервер прислал больше предела (%1 Б) — обмен прерван")
             .arg(limits.cycleBytes),
         4},
        {{200, QByteArray(5000, ' ')}, tooLong, 1},
        {{200, {}, 0ms, {}, Reply::Stream::Flood}, tooLong, 1},
        {{200, {}, 0ms, {}, Reply::Stream::Drip, 20ms},
         QStringLiteral("сервер отвечал дольше предела (300 мс) — обмен прерван"),
         1},
    };
    SyncEngine &sync = engine({1h, 1h, 5s, 300ms}, limits);
    for (const auto &[reply, message, requests] : cases) {
        m_server.sent.clear();
        m_server.fallback = reply;
        EXPECT_FALSE(sync.syncAndWait());
        EXPECT_EQ(sync.status().message, message);
        EXPECT_EQ(m_server.sent.size(), requests) << message.toStdString();
    }
    EXPECT_EQ(m_context.rows<TaskItem>().size(), 1u);
    EXPECT_FALSE(m_context.hasChanges());
    EXPECT_EQ(storedCursor(), 3);
    EXPECT_FALSE(m_defaults->contains("sync.mark"));
}

class FailingBackend : public StoreBackend
{
public:
    void write(const ChangeSet &) override { throw StoreError(QStringLiteral("disk full")); }
};

TEST_F(SyncEngineTest, appliedChanges_areSavedQuietly_andAFailedSaveKeepsTheCursor)
{
    UndoHistory history;
    m_context.setUndoHistory(&history);
    QSignalSpy announced(&PlannerNotifications::center(), &PlannerNotifications::plannerDidChange);
    QSignalSpy saved(&m_context, &ModelContext::storeSaved);
    m_server.replies = {{200, page(1, false, {sealed(1)})}, {200, page(6, false, {sealed(2)})}};
    SyncEngine &sync = engine();
    EXPECT_TRUE(sync.syncAndWait());
    QCoreApplication::processEvents();
    EXPECT_EQ(m_context.rows<TaskItem>().size(), 1u);
    EXPECT_FALSE(m_context.hasChanges());
    EXPECT_FALSE(history.canUndo());
    EXPECT_TRUE(history.isRecording());
    EXPECT_EQ(announced.size(), 0);
    EXPECT_EQ(saved.size(), 0);

    FailingBackend backend;
    m_context.setBackend(&backend);
    EXPECT_FALSE(sync.syncAndWait());
    EXPECT_EQ(sync.status().message, "disk full");
    EXPECT_EQ(storedCursor(), 1);
    m_context.setBackend(nullptr);
}

TEST_F(SyncEngineTest,
       switchingOnSavesAndThePeriodStartCycles_andOffStopsThemButNotTheCycleInFlight)
{
    configure(m_server.url, kToken, kPhrase, false);
    m_server.fallback.delay = 100ms;
    SyncEngine &sync = engine({40ms, 40ms, 5s});
    EXPECT_EQ(sync.status(), SyncStatus::off());
    sync.setOn(true);
    EXPECT_EQ(sync.status(), SyncStatus::idle());
    EXPECT_TRUE(m_defaults->value("sync.on").toBool());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_server.sent.empty(); }));
    sync.setOn(false);
    EXPECT_EQ(sync.status(), SyncStatus::off());
    EXPECT_TRUE(sync.isRunning());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !sync.isRunning(); }));
    EXPECT_EQ(sync.status(), SyncStatus::done(kNow, 0));
    Q_EMIT PlannerNotifications::center().plannerDidChange();
    QTest::qWait(200); // time for a cycle, which must not start while sync is off
    EXPECT_EQ(m_server.sent.size(), 1u);
    EXPECT_FALSE(m_defaults->value("sync.on").toBool());

    configure(m_server.url, kToken, kPhrase, true);
    SyncEngine &nudged = engine({1h, 20ms, 5s});
    Q_EMIT PlannerNotifications::center().plannerDidChange();
    Q_EMIT PlannerNotifications::center().plannerDidChange();
    EXPECT_TRUE(QTest::qWaitFor([&] { return nudged.status().kind == SyncStatus::Kind::Done; }));
    EXPECT_EQ(m_server.sent.size(), 2u) << "a burst of saves leads to one cycle";
    engine({30ms, 1h, 5s}).start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_server.sent.size() >= 5; }));
}

TEST_F(SyncEngineTest, newPhrase_pullsFirst_andOneThatOpensNothingOfTheServersPushesNothing)
{
    const QString mismatch = QStringLiteral(
        "фраза не открывает то, что хранит сервер — проверьте её на другом компьютере");
    configure(m_server.url, kToken, QStringLiteral("correct hors"), true, false);
    m_defaults->setValue("sync.cursor", 17);
    auto *local = m_context.insert(std::make_shared<TaskItem>("local", nullptr, 0, nullptr));
    m_server.fallback = {200, page(30, false, {sealed(1), sealed(2)})};
    SyncEngine &sync = engine();
    EXPECT_FALSE(sync.syncAndWait());
    EXPECT_FALSE(sync.syncAndWait()) << "and again, until the phrase is corrected";
    EXPECT_EQ(sync.status(), SyncStatus::failed(mismatch));
    ASSERT_EQ(m_server.sent.size(), 2u);
    for (const SyncRequest &request : m_server.sent)
        EXPECT_EQ(std::pair(request.since, request.changes.size()), std::pair(0ll, 0ul));
    EXPECT_EQ(storedCursor(), 17);
    EXPECT_EQ(m_context.rows<TaskItem>().size(), 1u);

    // Corrected: what the server holds is merged, then every local record goes out with a time
    // past the one the server may hold for it sealed with the wrong phrase.
    m_server.sent.clear();
    m_server.replies = {{200, page(30, false, {sealed(1), sealed(2)})}};
    m_server.fallback = {200, page(31, false)};
    sync.setPhrase(kPhrase);
    EXPECT_TRUE(sync.syncAndWait()) << sync.status().message.toStdString();
    EXPECT_EQ(sync.status(), SyncStatus::done(kNow, 2));
    ASSERT_EQ(m_server.sent.size(), 2u);
    EXPECT_EQ(m_server.sent[1].since, 30);
    ASSERT_EQ(m_server.sent[1].changes.size(), 1u) << "not what the server handed back";
    EXPECT_EQ(m_server.sent[1].changes[0].id, idText(local->id()));
    EXPECT_EQ(m_server.sent[1].changes[0].updatedAt, SyncTime::toWire(kNow) + 1);
    EXPECT_EQ(storedCursor(), 31);

    EXPECT_TRUE(sync.syncAndWait());
    EXPECT_EQ(std::pair(m_server.sent[2].since, m_server.sent[2].changes.size()),
              std::pair(31ll, 0ul));
    sync.setToken(QStringLiteral("another token of some length"));
    EXPECT_TRUE(sync.syncAndWait());
    EXPECT_EQ(m_server.sent[3].since, 0) << "a new token starts over";
    EXPECT_EQ(m_server.sent[4].changes.size(), 3u);
}

TEST_F(SyncEngineTest, recordsNamingASectionOrPageThisDeskLacks_areFiledWhereNewTasksGo)
{
    m_server.fallback
        = {200, page(3, false,
                     {sealed(1, {{QStringLiteral("section"), SyncValue::text(uuid(20))}}),
                      sealed(2,
                             {{QStringLiteral("order"), SyncValue::number(5)},
                              {QStringLiteral("page"), SyncValue::text(uuid(30))}},
                             kPhrase, SyncKind::section),
                      sealed(3, {{QStringLiteral("section"), SyncValue::blank()}})})};
    EXPECT_TRUE(engine().syncAndWait());
    const auto byId = [](const auto &rows, int n) {
        const auto found
            = std::ranges::find(rows, uuid(n), [](const auto &row) { return idText(row->id()); });
        return found == rows.end() ? nullptr : found->get();
    };
    const Section *section = byId(m_context.rows<Section>(), 2);
    ASSERT_TRUE(section && section->page());
    EXPECT_EQ(section->page()->id(), StarterPage::pageId());
    const TaskItem *filed = byId(m_context.rows<TaskItem>(), 1);
    ASSERT_TRUE(filed && filed->section());
    EXPECT_EQ(filed->section()->id(), StarterPage::sectionId(QStringLiteral("Today")));
    EXPECT_FALSE(byId(m_context.rows<TaskItem>(), 3)->section()) << "no section named, none set";
}

TEST_F(SyncEngineTest, syncNow_saysWhatIsMissing_andFailuresRememberTheLastGoodSync)
{
    const std::tuple<QString, QString, const char *> cases[] = {
        {"", "", "не указаны адрес сервера и токен доступа"},
        {" ", kToken, "не указан адрес сервера"},
        {"exa mple.org", kToken, "адрес сервера не разобрать — проверьте, как он написан"},
        {m_server.url, "", "не указан токен доступа"},
    };
    for (const auto &[address, token, message] : cases) {
        configure(address, token, kPhrase, true);
        SyncEngine &sync = engine();
        sync.sync();
        EXPECT_EQ(sync.status(), SyncStatus::idle()) << "timers stay quiet";
        sync.syncNow();
        EXPECT_EQ(sync.status(), SyncStatus::failed(QString::fromUtf8(message)));
    }
    EXPECT_TRUE(m_server.sent.empty());

    configure(m_server.url, kToken, kPhrase, true);
    EXPECT_FALSE(engine().lastSynced());
    EXPECT_TRUE(engine().syncAndWait());
    m_server.fallback = {503};
    SyncEngine &restarted = engine();
    EXPECT_FALSE(restarted.syncAndWait());
    ASSERT_TRUE(restarted.lastSynced());
    EXPECT_EQ(SyncTime::toWire(*restarted.lastSynced()), SyncTime::toWire(kNow));
    EXPECT_EQ(SyncStatusText::describe(restarted.status(), restarted.lastSynced()),
              "Last synced "
                  + QLocale().toString(toLocalDateTime(kNow).time(), QLocale::ShortFormat)
                  + " · сервер ответил ошибкой 503");
}

TEST(SyncEndpoint, addressesBecomeUrls)
{
    const std::pair<const char *, const char *> cases[] = {
        {"sync.example.org", "https://sync.example.org/v1/sync"},
        {"  sync.example.org:8443/\n", "https://sync.example.org:8443/v1/sync"},
        {"http://10.0.0.2:8080/custom/path", "http://10.0.0.2:8080/custom/path"},
        {"sync.example.org/v1/sync/", "https://sync.example.org/v1/sync"},
        {"http://10.0.0.2:8080/custom//", "http://10.0.0.2:8080/custom"},
        {"   ", ""},
        {"exa mple.org", ""},
    };
    for (const auto &[address, url] : cases) {
        const auto endpoint = SyncExchange::endpoint(QString::fromUtf8(address));
        EXPECT_EQ(endpoint ? endpoint->toString() : QString(), QString::fromUtf8(url)) << address;
    }
}

TEST(SyncEndpoint, fingerprints_areKeptAs64LowerCaseHexDigits)
{
    const QString hex = QString(QStringLiteral("0123456789abcdef")).repeated(4);
    QString colons;
    for (qsizetype i = 0; i < hex.size(); i += 2)
        colons += (i ? ":" : "") + hex.mid(i, 2).toUpper();
    const std::pair<QString, QString> cases[] = {
        {hex, hex},           {colons, hex},   {" " + hex.toUpper(), hex},
        {hex.chopped(1), ""}, {hex + "0", ""}, {hex.chopped(1) + "g", ""},
    };
    for (const auto &[typed, stored] : cases)
        EXPECT_EQ(SyncExchange::normalizedFingerprint(typed), stored) << typed.toStdString();
}

TEST(SyncEndpoint, plainHttpIsSafeOnlyToThisComputer)
{
    const std::pair<const char *, bool> cases[] = {
        {"sync.example.org", true},
        {"HTTPS://sync.example.org", true},
        {"http://127.0.0.1:8080", true},
        {"http://127.3.4.5", true},
        {"http://[::1]:8080/custom", true},
        {"http://LOCALHOST.:8080", true},
        {"http://sync.example.org", false},
        {"http://10.0.0.2:8080/custom/path", false},
        {"http://localhost.example.org", false},
        {"http://[::ffff:10.0.0.2]", false},
        {"ftp://sync.example.org", false},
    };
    for (const auto &[address, safe] : cases)
        EXPECT_EQ(SyncExchange::isSafeEndpoint(*SyncExchange::endpoint(address)), safe) << address;
}

} // namespace
} // namespace furrow
