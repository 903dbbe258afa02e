#include "ScriptedSyncServer.h"

#include "model/ModelContext.h"
#include "model/UserDefaults.h"
#include "secrets/Keyring.h"
#include "secrets/SecretService.h"
#include "sync/SyncEngine.h"
#include "views/settings/SyncSettingsTab.h"
#include "views/widgets/TextLabel.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QFile>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

// These tests run on a private session bus that keyring-session.sh sets up: KeyringUnlocked and
// KeyringLocked with gnome-keyring-daemon unlocked by a test password (the locked ones lock it
// themselves), KeyringAbsent with no Secret Service on the bus.

namespace furrow {
namespace {

using namespace std::chrono_literals;

const QString kToken = QStringLiteral("a token from the token file");
const QString kPhrase = QStringLiteral("correct horse battery staple");
const QString kTokenKey = QStringLiteral("sync.token");
const QString kPhraseKey = QStringLiteral("sync.phrase");

Keyring::Answer awaited(const std::function<void(Keyring::Done)> &job)
{
    std::optional<Keyring::Answer> answer;
    job([&](const Keyring::Answer &a) { answer = a; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return answer.has_value(); }, 10'000));
    return answer.value_or(Keyring::Answer{});
}

QString keyringValue(const QString &key)
{
    return awaited([&](Keyring::Done done) { Keyring::read(key, done); }).value;
}

void putInKeyring(const QString &key, const QString &value)
{
    ASSERT_TRUE(awaited([&](Keyring::Done done) { Keyring::write(key, value, done); }).ok);
}

void lockKeyring()
{
    QDBusInterface service(
        QStringLiteral("org.freedesktop.secrets"), QStringLiteral("/org/freedesktop/secrets"),
        QStringLiteral("org.freedesktop.Secret.Service"), QDBusConnection::sessionBus());
    const QList<QDBusObjectPath> collections{
        QDBusObjectPath(QStringLiteral("/org/freedesktop/secrets/aliases/default"))};
    const QDBusMessage reply
        = service.call(QStringLiteral("Lock"), QVariant::fromValue(collections));
    ASSERT_NE(reply.type(), QDBusMessage::ErrorMessage) << reply.errorMessage().toStdString();
    ASSERT_TRUE(SecretService::isLocked());
}

class KeyringTest : public testing::Test
{
protected:
    void TearDown() override
    {
        m_tab.reset();
        m_engine.reset();
        m_defaults->clear();
        m_defaults->sync();
    }

    // Sync switched on against the scripted server, as on a desk that synced before.
    void configure()
    {
        m_defaults->setValue("sync.address", m_server.url);
        m_defaults->setValue("sync.on", true);
        m_defaults->setValue("sync.basis", SyncEngine::basisOf(m_server.url, kToken, kPhrase));
    }
    void putInFile(const QString &token, const QString &phrase)
    {
        m_defaults->setValue(kTokenKey, token);
        m_defaults->setValue(kPhraseKey, phrase);
        m_defaults->sync();
    }
    SyncEngine &engine()
    {
        m_tab.reset();
        m_engine = std::make_unique<SyncEngine>(m_context, SyncEngine::Timing{1h, 1h, 5s});
        return *m_engine;
    }
    SyncSettingsTab &tab()
    {
        m_tab = std::make_unique<SyncSettingsTab>(*m_engine);
        m_tab->show();
        return *m_tab;
    }
    QLineEdit *field(const char *name) const
    {
        return m_tab->findChild<QLineEdit *>(QLatin1String(name));
    }
    QString placeText() const
    {
        return m_tab->findChild<TextLabel *>(QStringLiteral("syncSecretsPlace"))->text();
    }

    ScriptedSyncServer m_server;
    ModelContext m_context;
    std::unique_ptr<QSettings> m_defaults = UserDefaults::open();
    std::unique_ptr<SyncEngine> m_engine;
    std::unique_ptr<SyncSettingsTab> m_tab;
};

using KeyringUnlocked = KeyringTest;
using KeyringLocked = KeyringTest;
using KeyringAbsent = KeyringTest;

TEST_F(KeyringUnlocked, secretsInTheFile_moveToTheKeyring_andASyncReadsThemFromThere)
{
    configure();
    putInFile(kToken, kPhrase);
    ASSERT_TRUE(engine().keepsSecretsInKeyring());
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return !m_defaults->contains(kTokenKey) && !m_defaults->contains(kPhraseKey); },
        10'000));
    EXPECT_EQ(keyringValue(kTokenKey), kToken);
    EXPECT_EQ(keyringValue(kPhraseKey), kPhrase);

    SyncEngine &later = engine();
    EXPECT_FALSE(later.hasSecrets()) << "nothing is read before a cycle needs it";
    EXPECT_TRUE(later.syncAndWait()) << later.status().message.toStdString();
    ASSERT_EQ(m_server.heads.size(), 1u);
    EXPECT_TRUE(m_server.heads[0].contains("authorization: bearer " + kToken.toLower().toUtf8()));
    EXPECT_EQ(later.phrase(), kPhrase);
}

TEST_F(KeyringUnlocked, theSyncTab_saysWhereSecretsAreKept_andFillsThemOnceRead)
{
    putInKeyring(kTokenKey, kToken);
    putInKeyring(kPhraseKey, kPhrase);
    engine();
    tab();
    EXPECT_EQ(placeText(), "Stored in the keyring");
    EXPECT_TRUE(field("syncToken")->text().isEmpty());
    EXPECT_FALSE(field("syncToken")->placeholderText().isEmpty()) << "empty is not unset";

    m_engine->loadSecrets({});
    EXPECT_TRUE(QTest::qWaitFor([this] { return field("syncToken")->text() == kToken; }, 10'000));
    EXPECT_EQ(field("syncPhrase")->text(), kPhrase);

    field("syncToken")->setText(QString());
    QTest::keyClicks(field("syncToken"), QStringLiteral("typed"));
    EXPECT_TRUE(QTest::qWaitFor([] { return keyringValue(kTokenKey) == "typed"; }, 10'000));
    EXPECT_FALSE(m_defaults->contains(kTokenKey));
}

TEST_F(KeyringLocked, isAskedOnlyByASyncTheUserStarts_andItsRefusalSendsNothing)
{
    configure();
    putInKeyring(kTokenKey, kToken);
    putInKeyring(kPhraseKey, kPhrase);
    lockKeyring();
    SyncEngine &sync = engine();
    tab();
    EXPECT_FALSE(sync.hasSecrets());
    EXPECT_EQ(sync.status().kind, SyncStatus::Kind::Idle);
    EXPECT_EQ(placeText(), "Stored in the keyring");

    // The timer's cycle does not ask; it answers at once and waits.
    bool answered = false;
    sync.sync([&](bool clean) { answered = !clean; });
    EXPECT_TRUE(answered);
    EXPECT_TRUE(sync.status().message.startsWith("связка ключей заперта"));

    // No one is there to unlock it: the prompt fails as a refusal would.
    std::optional<bool> clean;
    sync.syncNow([&](bool result) { clean = result; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return clean.has_value(); }, 10'000));
    EXPECT_FALSE(clean.value_or(true));
    EXPECT_EQ(sync.status().kind, SyncStatus::Kind::Failed);
    EXPECT_TRUE(sync.status().message.startsWith("связка ключей не выдала токен и фразу"))
        << sync.status().message.toStdString();
    EXPECT_TRUE(m_server.sent.empty());
    EXPECT_FALSE(sync.hasSecrets()) << "a keyring left locked is no empty phrase";
    EXPECT_FALSE(m_defaults->contains(kPhraseKey)) << "nothing written back";
}

TEST_F(KeyringLocked, fileSecretsWaitInTheFile_andATokenItRefusesIsKeptThere)
{
    putInFile(kToken, kPhrase);
    lockKeyring();
    SyncEngine &sync = engine();
    EXPECT_EQ(m_defaults->value(kTokenKey).toString(), kToken) << "not moved while locked";
    EXPECT_EQ(m_defaults->value(kPhraseKey).toString(), kPhrase);

    sync.setToken(QStringLiteral("typed"));
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return m_defaults->value(kTokenKey).toString() == "typed"; }, 10'000));

    bool loaded = false;
    sync.loadSecrets([&](bool ok) { loaded = ok; });
    EXPECT_TRUE(loaded) << "what the file holds needs no keyring";
    EXPECT_EQ(sync.token(), "typed");
    EXPECT_EQ(sync.phrase(), kPhrase);
}

TEST_F(KeyringAbsent, secretsStayInFurrowConf_andTheTabSaysSo)
{
    putInFile(kToken, kPhrase);
    SyncEngine &sync = engine();
    tab();
    EXPECT_FALSE(sync.keepsSecretsInKeyring());
    EXPECT_EQ(placeText(), "Stored in Furrow.conf: no keyring is running");
    EXPECT_EQ(field("syncToken")->text(), kToken);
    EXPECT_EQ(field("syncToken")->placeholderText(), QString());

    QTest::keyClicks(field("syncToken"), QStringLiteral("!"));
    EXPECT_EQ(m_defaults->value(kTokenKey).toString(), kToken + "!");
    EXPECT_EQ(QFile::permissions(UserDefaults::filePath()),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                  | QFileDevice::WriteUser);
    EXPECT_FALSE(SecretService::isRunning()) << "nothing started a keyring";
}

} // namespace
} // namespace furrow
