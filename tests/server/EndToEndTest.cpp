#include "SyncScenario.h"

#include "sync/TestPrinters.h"

#include <QDir>
#include <QProcess>
#include <QSslCertificate>
#include <QSslConfiguration>

#include <gtest/gtest.h>

namespace furrow {
namespace {

using namespace std::chrono_literals;
using namespace test;

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
