#include "SyncScenario.h"

#include "sync/TestPrinters.h"

#include "server/CertificateFingerprint.h"

#include <QDir>

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

const QString kMismatch = QStringLiteral(
    "фраза не открывает то, что хранит сервер — проверьте её на другом компьютере");

// Every task sits in a section of a live page.
void expectEveryTaskOnAPage(const Planner &planner)
{
    for (const auto &task : planner.context.rows<TaskItem>()) {
        const Section *section = task->section();
        EXPECT_TRUE(section && section->page() && section->page()->isLive())
            << task->title().toStdString();
    }
}

TEST_F(EndToEndTest, wrongPhrase_sendsNothing_andOnceCorrectedBothPlannersHoldEverything)
{
    ServerHarness server;
    Planner a(server.url());
    a.addTask("a");
    syncCleanly(a);

    // B, new, has the phrase wrong by one letter; corrected first in the field, and C's in its
    // configuration file.
    Clock::advance(5s);
    Planner b(server.url(), kPhrase + "!"), c(server.url(), "correct horse batter");
    for (Planner *wrong : {&b, &c}) {
        wrong->addTask(wrong == &b ? "b" : "c");
        const auto before = wrong->records();
        EXPECT_FALSE(wrong->engine->syncAndWait());
        EXPECT_EQ(wrong->engine->status(), SyncStatus::failed(kMismatch));
        EXPECT_EQ(wrong->records(), before);
    }
    syncCleanly(a); // nothing unreadable reached the server
    b.engine->setPhrase(kPhrase);
    c.configure({{"sync.phrase", kPhrase}});
    for (Planner *planner : {&b, &c, &a, &b, &c})
        syncCleanly(*planner);
    EXPECT_EQ(a.records(), b.records());
    EXPECT_EQ(a.records(), c.records());
    EXPECT_EQ(a.context.rows<TaskItem>().size(), 3u);
    for (const Planner *planner : {&a, &b, &c})
        expectEveryTaskOnAPage(*planner);
}

TEST_F(EndToEndTest, recordsSealedWithAWrongPhraseEarlier_areReplacedOnceThePhraseIsRight)
{
    ServerHarness server;
    Planner a(server.url());
    a.addTask("a");
    syncCleanly(a);

    // B pushed before anything checked its phrase, as earlier versions did.
    Clock::advance(5s);
    const QString wrong = QStringLiteral("correct horse batterx");
    Planner b(server.url(), wrong);
    b.configure(
        {{"sync.basis", SyncEngine::basisOf(
                            server.url(), QString::fromStdString(ServerHarness::kToken), wrong)}});
    b.addTask("b");
    EXPECT_FALSE(b.engine->syncAndWait());
    EXPECT_FALSE(a.engine->syncAndWait()) << "B's records cannot be read";
    EXPECT_TRUE(a.engine->status().message.endsWith(kManyUnreadable));

    b.engine->setPhrase(kPhrase);
    Clock::advance(1s);
    syncCleanly(b);
    syncCleanly(a);
    syncCleanly(b);
    EXPECT_EQ(a.records(), b.records());
    EXPECT_EQ(a.context.rows<TaskItem>().size(), 2u);
    expectEveryTaskOnAPage(a);
}

TEST_F(EndToEndTest, starterPagesOfTwoPlanners_areOnePage)
{
    ServerHarness server;
    Planner a(server.url()), b(server.url());
    a.store.runHousekeeping();
    Clock::advance(1s);
    b.store.runHousekeeping();
    for (Planner *planner : {&a, &b, &a})
        syncCleanly(*planner);
    for (const Planner *planner : {&a, &b}) {
        EXPECT_EQ(live(planner->context.fetchAll<Page>()).size(), 1u);
        EXPECT_EQ(live(planner->context.fetchAll<Section>()).size(), 3u);
    }
    EXPECT_EQ(a.records(), b.records());
}

TEST_F(EndToEndTest, overHttps_aSelfSignedCertificateIsTrustedByItsFingerprint_andNoOther)
{
    const QTemporaryDir folder;
    const auto [cert, key] = selfSignedCertificate(folder, "first");
    const auto [otherCert, otherKey] = selfSignedCertificate(folder, "second");
    ASSERT_FALSE(cert.isEmpty() || otherCert.isEmpty());
    const auto useCertificate = [](const QString &certPath, const QString &keyPath) {
        return [=](SyncServer::Settings &settings) {
            settings.certPath = certPath.toStdString();
            settings.keyPath = keyPath.toStdString();
        };
    };
    ServerHarness server(useCertificate(cert, key));
    Planner a(server.url());
    a.addTask("tls");
    const QString refused = QStringLiteral("не сошёлся сертификат");
    EXPECT_FALSE(a.engine->syncAndWait());
    EXPECT_EQ(a.engine->status(), SyncStatus::failed(refused));
    const std::string printed = certificateFingerprint(cert.toStdString());
    ASSERT_EQ(a.engine->untrustedCertificate().toStdString(), printed);

    // Trusted by the fingerprint the server printed, the planner that was refused syncs.
    ASSERT_TRUE(a.engine->trustCertificate(QString::fromStdString(printed)));
    syncCleanly(a);
    EXPECT_TRUE(a.engine->untrustedCertificate().isEmpty());
    EXPECT_EQ(server.store->recordCount(), 3);

    ServerHarness other(useCertificate(otherCert, otherKey));
    a.engine->setAddress(other.url());
    EXPECT_FALSE(a.engine->syncAndWait());
    EXPECT_EQ(a.engine->status(), SyncStatus::failed(refused));
    EXPECT_EQ(a.engine->untrustedCertificate().toStdString(),
              certificateFingerprint(otherCert.toStdString()));

    server.stop();
    EXPECT_NE(server.log.str().find("TLS-рукопожатие с 127.0.0.1 не удалось: "), std::string::npos)
        << server.log.str();
}

TEST_F(EndToEndTest, bareHostOfAPlainHttpServer_saysItDoesNotSpeakHttps)
{
    ServerHarness server;
    Planner a(QStringLiteral("127.0.0.1:%1").arg(server.port));
    EXPECT_FALSE(a.engine->syncAndWait());
    EXPECT_EQ(a.engine->status(),
              SyncStatus::failed(QStringLiteral("сервер по этому адресу не говорит по HTTPS — для "
                                                "сервера на этом компьютере напишите адрес с "
                                                "http://")));
}

} // namespace
} // namespace furrow
