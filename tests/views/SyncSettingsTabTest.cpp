#include "ViewTestSupport.h"

#include "Rendering.h"
#include "ScriptedSyncServer.h"
#include "model/Clock.h"
#include "model/ModelContext.h"
#include "model/UserDefaults.h"
#include "sync/SyncCrypto.h"
#include "sync/SyncEngine.h"
#include "sync/SyncRecordMapping.h"
#include "sync/wire/SyncResponse.h"
#include "views/settings/PhraseStrength.h"
#include "views/settings/SettingsWindow.h"
#include "views/settings/SyncSettingsTab.h"
#include "views/theme/Theme.h"
#include "views/widgets/PillButton.h"
#include "views/widgets/TextLabel.h"
#include "views/widgets/ToggleSwitch.h"

#include <QLineEdit>

namespace furrow {
namespace {

using namespace std::chrono_literals;

// 13:00 in Berlin.
const Instant kNow = instantFromMicroseconds(1733400000000000);
const QString kPhrase = QStringLiteral("correct horse battery staple");
const QString kToken = QStringLiteral("token");

// A sealed task from another device.
SyncRecord incomingTask(int n)
{
    const QString id = QStringLiteral("00000000-0000-0000-0000-%1").arg(n, 12, 10, QChar(u'0'));
    return SyncCrypto::fromPhrase(kPhrase)->sealed({SyncKind::task, id, 1733500000000, false, {}});
}

class SyncSettingsTabTest : public testing::Test
{
protected:
    void SetUp() override { Clock::setNow(kNow); }
    void TearDown() override
    {
        m_tab.reset();
        m_engine.reset();
        m_defaults->clear();
        Clock::useSystemTime();
    }

    SyncSettingsTab &tab(const QString &address, const QString &token, const QString &phrase,
                         bool on)
    {
        m_defaults->setValue("sync.address", address);
        m_defaults->setValue("sync.token", token);
        m_defaults->setValue("sync.phrase", phrase);
        m_defaults->setValue("sync.on", on);
        // As on a desk that has synced under these settings before.
        m_defaults->setValue("sync.basis", SyncEngine::basisOf(address, token, phrase));
        m_engine = std::make_unique<SyncEngine>(m_context, SyncEngine::Timing{1h, 1h, 5s});
        m_tab = std::make_unique<SyncSettingsTab>(*m_engine);
        m_tab->resize(520, 640);
        m_tab->show();
        return *m_tab;
    }
    template<class Widget = QWidget>
    Widget *part(const char *name) const
    {
        auto *widget = m_tab->findChild<Widget *>(QLatin1String(name));
        EXPECT_TRUE(widget) << name;
        return widget;
    }
    QString statusText() const { return part<TextLabel>("syncStatus")->text(); }
    QColor statusColor() const { return part<TextLabel>("syncStatus")->color(); }
    PillButton *button() const { return part<PillButton>("syncNow"); }
    // Presses the button and lets the cycle run to its end.
    void syncNow()
    {
        button()->click();
        EXPECT_TRUE(QTest::qWaitFor([this] { return !m_engine->isRunning(); }));
    }

    ModelContext m_context;
    std::unique_ptr<QSettings> m_defaults = UserDefaults::open();
    std::unique_ptr<SyncEngine> m_engine;
    std::unique_ptr<SyncSettingsTab> m_tab;
};

TEST_F(SyncSettingsTabTest, off_disablesTheButton_andSwitchingOnWaitsForTheFirstSync)
{
    tab({}, kToken, kPhrase, false);
    EXPECT_EQ(statusText(), "Off");
    EXPECT_EQ(statusColor(), Theme::muted);
    EXPECT_FALSE(button()->isEnabled());

    auto *toggle = part<ToggleSwitch>("syncOn");
    toggle->setFocus(Qt::TabFocusReason);
    QTest::keyClick(toggle, Qt::Key_Space);
    EXPECT_TRUE(m_engine->isOn());
    EXPECT_TRUE(m_defaults->value("sync.on").toBool());
    settle();
    EXPECT_EQ(statusText(), "Waiting for the first sync") << "no address, so no cycle starts";
    EXPECT_TRUE(button()->isEnabled());

    QTest::keyClick(toggle, Qt::Key_Space);
    EXPECT_FALSE(m_engine->isOn());
    EXPECT_EQ(statusText(), "Off");
    EXPECT_FALSE(button()->isEnabled());
}

TEST_F(SyncSettingsTabTest, fields_showTheEngineMaskTheSecrets_andWriteThrough)
{
    tab(QStringLiteral("sync.example.org"), kToken, kPhrase, false);
    auto *address = part<QLineEdit>("syncAddress");
    auto *token = part<QLineEdit>("syncToken");
    auto *phrase = part<QLineEdit>("syncPhrase");
    EXPECT_EQ(address->text(), "sync.example.org");
    EXPECT_EQ(address->echoMode(), QLineEdit::Normal);
    EXPECT_FALSE(address->placeholderText().isEmpty());
    for (QLineEdit *secret : {token, phrase}) {
        EXPECT_EQ(secret->echoMode(), QLineEdit::Password);
        EXPECT_TRUE(secret->placeholderText().isEmpty());
    }
    EXPECT_EQ(token->text(), kToken);

    QTest::keyClicks(address, "/v2");
    EXPECT_EQ(m_engine->address(), "sync.example.org/v2");
    QTest::keyClick(token, Qt::Key_Backspace);
    EXPECT_EQ(m_engine->token(), "toke");
    EXPECT_EQ(m_defaults->value("sync.address").toString(), "sync.example.org/v2");
}

TEST_F(SyncSettingsTabTest, phrase_takesEffectOnReturnLeavingOrAPause_andShowsOnRequest)
{
    tab({}, kToken, kPhrase, false);
    m_tab->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_tab.get()));
    auto *phrase = part<QLineEdit>("syncPhrase");
    phrase->setFocus();
    phrase->selectAll();
    QTest::keyClicks(phrase, "new phr");
    EXPECT_EQ(m_engine->phrase(), kPhrase) << "not halfway through a word";
    QTest::keyClick(phrase, Qt::Key_Return);
    EXPECT_EQ(m_engine->phrase(), "new phr");
    QTest::keyClicks(phrase, "ase");
    part<QLineEdit>("syncAddress")->setFocus();
    EXPECT_EQ(m_engine->phrase(), "new phrase");
    QTest::keyClicks(phrase, "!");
    EXPECT_EQ(m_defaults->value("sync.phrase").toString(), "new phrase");
    EXPECT_TRUE(QTest::qWaitFor([this] { return m_engine->phrase() == "new phrase!"; }, 5000));
    EXPECT_EQ(m_defaults->value("sync.phrase").toString(), "new phrase!");

    auto *show = part<PillButton>("syncPhraseShow");
    EXPECT_EQ(phrase->echoMode(), QLineEdit::Password);
    show->click();
    EXPECT_EQ(phrase->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(show->text(), "Hide");
    show->click();
    EXPECT_EQ(phrase->echoMode(), QLineEdit::Password);
}

TEST_F(SyncSettingsTabTest, syncNowWithoutAnAddress_saysSo_andAFailureKeepsTheLastGoodTime)
{
    const GermanLocale german;
    tab({}, kToken, kPhrase, true);
    button()->click();
    EXPECT_EQ(statusText(), QStringLiteral("не указан адрес сервера"));
    EXPECT_EQ(statusColor(), Theme::clay);

    ScriptedSyncServer server;
    m_engine->setAddress(server.url);
    syncNow();
    server.fallback.status = 503;
    syncNow();
    EXPECT_EQ(statusText(), QStringLiteral("Last synced 13:00 · сервер ответил ошибкой 503"));
}

TEST_F(SyncSettingsTabTest, finishedCycles_readTheirCountAndTheLocalShortTime)
{
    const GermanLocale german;
    ScriptedSyncServer server;
    tab(server.url, kToken, kPhrase, true);
    syncNow();
    EXPECT_EQ(statusText(), "Up to date · 13:00");
    EXPECT_EQ(statusColor(), Theme::gray);

    server.fallback.body
        = SyncResponse{4, 0, false, {incomingTask(1), incomingTask(2), incomingTask(3)}}.encode();
    syncNow();
    EXPECT_EQ(statusText(), "3 brought over · 13:00");
}

TEST_F(SyncSettingsTabTest, emptyPhrase_showsItsMessageInClay_andTheButtonComesBack)
{
    ScriptedSyncServer server;
    tab(server.url, kToken, QString(), true);
    button()->click();
    EXPECT_EQ(statusText(),
              QStringLiteral("Задайте секретную фразу — без неё задачи ушли бы читаемыми"));
    EXPECT_EQ(statusColor(), Theme::clay);
    EXPECT_EQ(button()->text(), "Sync now");
    EXPECT_TRUE(button()->isEnabled());
    EXPECT_EQ(server.sent.size(), 0u);
}

TEST_F(SyncSettingsTabTest, addressTypedDuringACycle_servesOnlyTheNextOne)
{
    ScriptedSyncServer first;
    ScriptedSyncServer second;
    first.holding = true;
    tab(first.url, kToken, kPhrase, true);
    m_engine->sync(); // as the timer would
    ASSERT_TRUE(QTest::qWaitFor([&] { return first.sent.size() == 1; }));
    EXPECT_EQ(statusText(), "Talking to the server…");
    EXPECT_EQ(statusColor(), Theme::gray);
    button()->click();
    EXPECT_EQ(button()->text(), "Sync now") << "a pressed cycle returns at once while one runs";
    EXPECT_TRUE(button()->isEnabled());
    EXPECT_EQ(statusText(), "Talking to the server…");

    auto *address = part<QLineEdit>("syncAddress");
    address->selectAll();
    QTest::keyClicks(address, second.url);
    EXPECT_EQ(m_engine->address(), second.url);
    first.release();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_engine->isRunning(); }));
    EXPECT_EQ(m_engine->status().kind, SyncStatus::Kind::Done) << statusText().toStdString();
    EXPECT_EQ(second.sent.size(), 0u) << "the running cycle kept its address";

    second.holding = true;
    button()->click();
    EXPECT_EQ(button()->text(), "Syncing…");
    EXPECT_FALSE(button()->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.sent.size() == 1; }));
    second.release();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_engine->isRunning(); }));
    EXPECT_EQ(button()->text(), "Sync now");
    EXPECT_TRUE(button()->isEnabled());
    EXPECT_EQ(first.sent.size(), 1u);
}

TEST_F(SyncSettingsTabTest, weakPhrase_showsAQuietHintThatGoesAsThePhraseGrows)
{
    tab({}, {}, {}, false);
    auto *phrase = part<QLineEdit>("syncPhrase");
    auto *hint = part<TextLabel>("syncPhraseHint");
    EXPECT_FALSE(hint->isVisibleTo(m_tab.get())) << "an empty phrase is the engine's to report";
    QTest::keyClicks(phrase, "correct horse");
    EXPECT_TRUE(hint->isVisibleTo(m_tab.get()));
    EXPECT_EQ(hint->color(), Theme::muted);
    QTest::keyClicks(phrase, " battery staple");
    EXPECT_FALSE(hint->isVisibleTo(m_tab.get()));
    phrase->selectAll();
    QTest::keyClick(phrase, Qt::Key_Delete);
    EXPECT_FALSE(hint->isVisibleTo(m_tab.get()));
}

TEST_F(SyncSettingsTabTest, plainHttpToAnotherComputer_isRefusedUnderTheAddress_andOnPressing)
{
    ScriptedSyncServer server;
    tab(server.url, kToken, kPhrase, true);
    auto *address = part<QLineEdit>("syncAddress");
    auto *hint = part<TextLabel>("syncAddressHint");
    EXPECT_FALSE(hint->isVisibleTo(m_tab.get())) << "http:// to this computer is fine";
    const std::pair<const char *, bool> cases[] = {
        {"sync.example.org", false},       {"https://sync.example.org", false},
        {"http://localhost:8080", false},  {"http://10.0.0.2:8080/custom", true},
        {"http://sync.example.org", true},
    };
    for (const auto &[text, refused] : cases) {
        address->selectAll();
        QTest::keyClicks(address, text);
        EXPECT_EQ(hint->isVisibleTo(m_tab.get()), refused) << text;
    }
    EXPECT_EQ(hint->color(), Theme::clay);

    syncNow();
    EXPECT_EQ(statusText(), SyncExchange::unsafeEndpointMessage());
    EXPECT_EQ(statusColor(), Theme::clay);
    EXPECT_EQ(server.connections, 0);
}

TEST_F(SyncSettingsTabTest, suggestPhrase_fillsAnEmptyPhraseWithSixWords_butNeverReplacesOne)
{
    tab({}, {}, {}, false);
    auto *suggestion = part<QLineEdit>("suggestedPhrase");
    auto *suggest = part<PillButton>("suggestPhrase");
    EXPECT_FALSE(suggestion->isVisibleTo(m_tab.get()));
    suggest->click();
    const QString first = suggestion->text();
    EXPECT_TRUE(suggestion->isVisibleTo(m_tab.get()));
    EXPECT_TRUE(suggestion->isReadOnly());
    EXPECT_EQ(suggestion->echoMode(), QLineEdit::Normal) << "shown, to be copied";
    EXPECT_EQ(first.split(u' ').size(), 6) << first.toStdString();
    EXPECT_EQ(part<QLineEdit>("syncPhrase")->text(), first);
    EXPECT_EQ(m_defaults->value("sync.phrase").toString(), first);
    EXPECT_FALSE(part<TextLabel>("syncPhraseHint")->isVisibleTo(m_tab.get()));

    suggest->click();
    EXPECT_NE(suggestion->text(), first);
    EXPECT_EQ(m_engine->phrase(), first) << "the phrase set is the other computers' phrase too";
    EXPECT_EQ(part<QLineEdit>("syncPhrase")->text(), first);
}

TEST(PhraseStrength, shortOrFewWordedPhrases_areWeak_longOnesOfAnyFormAreNot)
{
    const std::pair<const char *, bool> cases[] = {
        {"hunter2", true},
        {"Tr0ub4dor&3-Tr0ub4dor", true},             // long enough, but one word
        {"a b c d e f", true},                       // many words, few characters
        {"correct   horse  battery", true},          // spaces run together count once
        {"correct horse battery staple", false},     // four words, 28 characters
        {"q8Zr2LmX0vTn5KwPa1YbC7dEf3GhJ4sU", false}, // 32 generated characters
        {"ёлка ёжик яблоко иволга", false},
    };
    for (const auto &[phrase, weak] : cases)
        EXPECT_EQ(PhraseStrength::isWeak(QString::fromUtf8(phrase)), weak) << phrase;
}

// Renders the tab inside the settings window, as the user sees it.
void renderTab(SyncSettingsTab &view, const QString &name)
{
    ModelContext context;
    SettingsWindow window(context, {});
    window.setTabContent(SettingsTab::Sync, &view);
    window.showTab(SettingsTab::Sync);
    window.show();
    settle();
    saveRendering(&window, name);
    view.setParent(nullptr);
}

TEST_F(SyncSettingsTabTest, renderings_offIdleFailedAndSuggested)
{
    renderTab(tab({}, {}, {}, false), QStringLiteral("sync-settings-off"));
    renderTab(tab(QStringLiteral("sync.example.org"), kToken, kPhrase, true),
              QStringLiteral("sync-settings-idle"));

    ScriptedSyncServer server;
    server.fallback.status = 401;
    tab(server.url, kToken, QStringLiteral("plums"), true);
    syncNow();
    EXPECT_EQ(statusColor(), Theme::clay);
    renderTab(*m_tab, QStringLiteral("sync-settings-failed"));

    tab(QStringLiteral("http://sync.example.org"), kToken, {}, true);
    part<PillButton>("suggestPhrase")->click();
    renderTab(*m_tab, QStringLiteral("sync-settings-refused-suggested"));
}

} // namespace
} // namespace furrow
