#include "ServerTestKit.h"

#include "sync/TestPrinters.h"

#include "model/Calendar.h"
#include "model/Clock.h"
#include "model/LiveRecords.h"
#include "model/PlannerStore.h"
#include "model/UserDefaults.h"
#include "persistence/PlannerSnapshot.h"
#include "sync/Snapshot.h"
#include "sync/SyncEngine.h"

#include <QDir>
#include <QProcess>
#include <QSslCertificate>
#include <QSslConfiguration>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

namespace furrow {
namespace {

using namespace std::chrono_literals;
using test::ServerHarness;

const QString kPhrase = QStringLiteral("correct horse battery");
// Not on a whole millisecond: the wire rounds every time.
const Instant kStart = instantFromMicroseconds(1733400000062500);
const QString kManyUnreadable
    = QStringLiteral(" записей не прочитались — проверьте секретную фразу");

// One planner of a scenario: a context of its own and an engine whose defaults live in a
// folder of their own, so that two planners in one process are separate devices.
struct Planner
{
    explicit Planner(const QString &url, const QString &phrase = kPhrase)
    {
        // The engine opens its defaults once, when it is made.
        const QByteArray shared = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        const auto defaults = UserDefaults::open();
        defaults->setValue("sync.address", url);
        defaults->setValue("sync.token", QString::fromStdString(ServerHarness::kToken));
        defaults->setValue("sync.phrase", phrase);
        defaults->setValue("sync.on", true);
        defaults->sync();
        engine = std::make_unique<SyncEngine>(context, SyncEngine::Timing{1h, 1h, 10s});
        qputenv("XDG_CONFIG_HOME", shared);
    }

    // Every record as the wire carries it, unsealed, by kind and id.
    std::vector<SyncRecord> records()
    {
        std::vector<SyncRecord> out = Snapshot(context).changes(-INFINITY);
        std::ranges::sort(out, {}, [](const SyncRecord &r) { return std::pair(r.kind, r.id); });
        return out;
    }
    // The backup document with its lists in a fixed order.
    QByteArray exported()
    {
        PlannerArchive archive = PlannerSnapshot::snapshot(store);
        archive.savedAt = Instant();
        std::ranges::sort(archive.projects, {}, [](const auto &project) { return project.id; });
        std::ranges::sort(archive.tasks, {}, [](const auto &task) { return task.id; });
        std::ranges::sort(archive.days, {}, [](const auto &day) { return day.date; });
        return archive.encode();
    }
    // A task on a section of a page of its own, all named after `name`.
    TaskItem *addTask(const QString &name)
    {
        Page *page = store.createPage("Page-" + name, QStringLiteral("house"));
        return store.capture("Task-" + name, store.createSection("Section-" + name, *page),
                             nullptr);
    }

    QTemporaryDir config;
    ModelContext context;
    PlannerStore store{context};
    std::unique_ptr<SyncEngine> engine;
};

void syncCleanly(Planner &planner)
{
    EXPECT_TRUE(planner.engine->syncAndWait()) << planner.engine->status().message.toStdString();
}

// A random change, as a person would make it, a little over a second after the one before.
// Every text holds a '-', which base64 never does, so it can be searched for in the server's files.
void randomEdit(PlannerStore &store, std::mt19937 &random)
{
    static int count = 0;
    const auto name = [](const char *prefix) {
        return prefix + QString::number(++count);
    };
    const auto pick = [&](const auto &list) {
        return list.empty() ? nullptr : list[random() % list.size()];
    };
    Clock::advance(1'000'317us);
    const ModelContext &context = store.context();
    std::vector<Section *> sections = live(context.fetchAll<Section>());
    std::erase_if(sections, [](Section *s) { return !s->page() || !s->page()->isLive(); });
    Section *section = pick(sections);
    Project *project = pick(live(context.fetchAll<Project>()));
    TaskItem *task = pick(active(context.fetchAll<TaskItem>()));
    if (!section)
        section = store.createSection(name("Section-"), *store.ensureStarterPage());
    // The first one is the only change possible before there is a task.
    const std::function<void()> edits[] = {
        [&] {
            store.capture(name("Task-") + (project && random() % 2 ? " #" + project->name() : ""),
                          section, nullptr);
        },
        [&] { store.applyInlineEdit(name("Task-renamed-"), *task); },
        [&] { store.setNote(name("Note-"), *task); },
        [&] { task->isDone() ? store.reopen(*task) : store.close(*task); },
        [&] { store.move(*task, section, qint64(random() % 4)); },
        [&] {
            store.setDueDate(random() % 3 ? Calendar::startOfDay(Clock::now()) : OptionalInstant(),
                             *task);
        },
        [&] { store.setProject(random() % 3 ? project : nullptr, *task); },
        [&] { store.archive(*task); },
        [&] { store.createSection(name("Section-"), *section->page()); },
        [&] { store.deleteSection(*section); },
        [&] { store.createPage(name("Page-"), QStringLiteral("house")); },
        [&] { store.deletePage(*section->page()); },
        [&] { store.createProject(name("proj-")); },
        [&] { project ? store.deleteProject(*project) : void(); },
        [&] { store.stampToday(), store.save(); },
    };
    edits[task ? random() % std::size(edits) : 0]();
}

class EndToEndTest : public testing::Test
{
protected:
    void SetUp() override { Clock::setNow(kStart); }
    void TearDown() override { Clock::useSystemTime(); }
};

TEST_F(EndToEndTest, randomInterleavings_leaveBothPlannersWithTheSameRecords)
{
    for (const unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Clock::setNow(kStart);
        ServerHarness server;
        Planner a(server.url()), b(server.url());
        std::mt19937 random(seed);
        for (int step = 0; step < 120; ++step) {
            const unsigned choice = random() % 8;
            if (choice < 2)
                syncCleanly(choice == 0 ? a : b);
            else
                randomEdit(choice < 5 ? a.store : b.store, random);
            if (step == 60) { // the server restarts between two cycles, on another port
                server.stop();
                server.start();
                a.engine->setAddress(server.url());
                b.engine->setAddress(server.url());
            }
        }
        for (Planner *planner : {&a, &b, &a, &b})
            syncCleanly(*planner);
        const auto records = a.records();
        EXPECT_GT(records.size(), 20u);
        EXPECT_EQ(records, b.records());
        EXPECT_EQ(a.exported(), b.exported());
        EXPECT_EQ(server.store->recordCount(), qint64(records.size()))
            << "the server holds every record";

        server.stop();
        QByteArray files;
        for (const QFileInfo &info :
             QDir(server.folder.filePath("data")).entryInfoList(QDir::Files)) {
            QFile file(info.filePath());
            files += file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }
        for (const char *clear : {"Task-", "Note-", "proj-", "Section-", "Page-"})
            EXPECT_FALSE(files.contains(clear)) << clear << " readable in the server's files";
    }
}

TEST_F(EndToEndTest, taskWhoseSectionComesOnALaterPage_isAttachedToIt)
{
    ServerHarness server;
    Planner a(server.url());
    TaskItem *task = a.addTask("home");
    Section *section = task->section();
    syncCleanly(a);
    Clock::advance(1s);
    for (int n = 0; n < 7; ++n)
        a.store.createProject(QStringLiteral("proj-%1").arg(n));
    a.store.rename(*section, "Section-renamed");
    syncCleanly(a);

    // A device that starts from scratch gets the task on the first page, its section later.
    const std::string first
        = test::rawExchange(server.port,
                            test::syncRequest(R"({"device":"probe","since":0,"changes":[]})",
                                              ServerHarness::kToken))
              .body;
    ASSERT_NE(first.find(R"("more":true)"), first.npos);
    ASSERT_NE(first.find(idText(task->id()).toStdString()), first.npos);
    ASSERT_EQ(first.find(idText(section->id()).toStdString()), first.npos);

    Planner b(server.url());
    syncCleanly(b);
    EXPECT_EQ(b.records(), a.records()) << "the task is attached to its renamed section";
}

TEST_F(EndToEndTest, deviceWithTheWrongPhrase_countsUnreadableRecords_andDamagesNothing)
{
    ServerHarness server;
    Planner a(server.url());
    a.addTask("a");
    syncCleanly(a);
    const qint64 fromA = server.store->recordCount();

    Clock::advance(5s);
    Planner c(server.url(), "wrong phrase");
    c.addTask("c");
    const auto before = c.records();
    EXPECT_FALSE(c.engine->syncAndWait());
    EXPECT_EQ(c.engine->status(), SyncStatus::failed(QString::number(fromA) + kManyUnreadable));
    EXPECT_EQ(c.records(), before);
    syncCleanly(c); // the unreadable records are not fetched again
    EXPECT_EQ(c.records(), before);

    // The planner with the right phrase cannot read what C sealed, and keeps its own.
    const auto ownA = a.records();
    EXPECT_FALSE(a.engine->syncAndWait());
    EXPECT_EQ(a.engine->status(),
              SyncStatus::failed(QString::number(before.size()) + kManyUnreadable));
    EXPECT_EQ(a.records(), ownA);
}

TEST_F(EndToEndTest, overHttps_syncsOnceTheCertificateIsTrusted_evenAfterARefusal)
{
    QTemporaryDir folder;
    const QString cert = folder.filePath("cert.pem"), key = folder.filePath("key.pem");
    QProcess openssl;
    openssl.start("openssl",
                  {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes",
                   "-days", "1", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1",
                   "-keyout", key, "-out", cert});
    ASSERT_TRUE(openssl.waitForFinished(30'000) && openssl.exitCode() == 0)
        << openssl.readAllStandardError().toStdString();
    ServerHarness server([&](SyncServer::Settings &settings) {
        settings.certPath = cert.toStdString();
        settings.keyPath = key.toStdString();
    });
    Planner a(server.url());
    a.addTask("tls");
    EXPECT_FALSE(a.engine->syncAndWait());
    EXPECT_EQ(a.engine->status(), SyncStatus::failed(QStringLiteral("не сошёлся сертификат")));

    // Once trusted, the planner that was refused syncs: it does not hold on to the refusal.
    const QSslConfiguration original = QSslConfiguration::defaultConfiguration();
    QSslConfiguration trusting = original;
    trusting.addCaCertificates(QSslCertificate::fromPath(cert));
    QSslConfiguration::setDefaultConfiguration(trusting);
    syncCleanly(a);
    QSslConfiguration::setDefaultConfiguration(original);
    EXPECT_EQ(server.store->recordCount(), 3);
}

} // namespace
} // namespace furrow
