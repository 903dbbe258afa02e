#include "views/settings/SyncSettingsTab.h"

#include "sync/PhraseSuggester.h"
#include "sync/SyncEngine.h"
#include "sync/SyncStatusText.h"
#include "views/settings/CertificateTrustRow.h"
#include "views/settings/LabelledField.h"
#include "views/settings/PhraseField.h"
#include "views/settings/PhraseStrength.h"
#include "views/theme/Theme.h"
#include "views/widgets/HairLine.h"
#include "views/widgets/PillButton.h"
#include "views/widgets/Stacks.h"
#include "views/widgets/StepLabel.h"
#include "views/widgets/TextLabel.h"
#include "views/widgets/ToggleSwitch.h"

#include <QLineEdit>
#include <QPointer>

namespace furrow {

namespace {

TextLabel *wrappingText(const QString &text, const QFont &font, const QColor &color,
                        QWidget *parent)
{
    auto *label = new TextLabel(text, font, color, parent);
    label->setWordWrap(true);
    // As tall as its lines at the width it is given, not at the width of its size hint.
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    label->setSizePolicy(policy);
    return label;
}

QColor statusColor(SyncStatus::Kind kind)
{
    switch (kind) {
    case SyncStatus::Kind::Off:
    case SyncStatus::Kind::Idle:
        return Theme::muted;
    case SyncStatus::Kind::Running:
    case SyncStatus::Kind::Done:
        return Theme::gray;
    case SyncStatus::Kind::Failed:
        return Theme::clay;
    }
    return Theme::muted;
}

// The word list is embedded with the fonts and read once.
const PhraseSuggester &phraseSuggester()
{
    static const PhraseSuggester suggester
        = PhraseSuggester::fromFile(QStringLiteral(":/words/eff-long-wordlist.js"));
    return suggester;
}

} // namespace

SyncSettingsTab::SyncSettingsTab(SyncEngine &engine, QWidget *parent)
    : QWidget(parent)
    , m_engine(engine)
{
    setObjectName(QStringLiteral("syncSettings"));
    buildFields();
    layOut();
    loadFromEngine();
    showStatus(m_engine.status());
    connect(&m_engine, &SyncEngine::statusChanged, this, &SyncSettingsTab::showStatus);
}

void SyncSettingsTab::buildFields()
{
    m_switch
        = new ToggleSwitch(QStringLiteral("Keep this computer in sync"), Theme::brightDeep, this);
    m_switch->setObjectName(QStringLiteral("syncOn"));
    m_address = new LabelledField(QStringLiteral("Server address"), LabelledField::Kind::Plain,
                                  QStringLiteral("sync.example.com"), this);
    m_address->input()->setObjectName(QStringLiteral("syncAddress"));
    m_token
        = new LabelledField(QStringLiteral("Access token"), LabelledField::Kind::Secret, {}, this);
    m_token->input()->setObjectName(QStringLiteral("syncToken"));
    m_phrase = new PhraseField(QStringLiteral("Phrase"), std::chrono::seconds(2), this);
    m_phrase->input()->setObjectName(QStringLiteral("syncPhrase"));
    m_phraseHint = wrappingText(
        QStringLiteral("A longer phrase is safer: four words or more, at least 20 characters. "
                       "It alone keeps the server from reading your tasks."),
        Theme::small(), Theme::muted, this);
    m_phraseHint->setObjectName(QStringLiteral("syncPhraseHint"));
    m_secretsPlace = wrappingText({}, Theme::small(), Theme::muted, this);
    m_secretsPlace->setObjectName(QStringLiteral("syncSecretsPlace"));

    // Only the user's flips reach the engine, not the switch following the engine.
    connect(m_switch, &QAbstractButton::clicked, &m_engine, &SyncEngine::setOn);
    connect(m_address->input(), &QLineEdit::textEdited, &m_engine, &SyncEngine::setAddress);
    connect(m_token->input(), &QLineEdit::textEdited, &m_engine, &SyncEngine::setToken);
    connect(m_phrase, &PhraseField::committed, &m_engine, &SyncEngine::setPhrase);
    connect(m_phrase->input(), &QLineEdit::textChanged, this, &SyncSettingsTab::updatePhraseHint);
    connect(&m_engine, &SyncEngine::secretsLoaded, this, [this] {
        // What is being typed is committed first, so the loaded values do not wipe it.
        m_phrase->commit();
        loadFromEngine();
    });
}

void SyncSettingsTab::layOut()
{
    // The hint belongs to the phrase field, so it sits closer to it than the stack's spacing.
    auto *phrase = new QWidget(this);
    auto *phraseColumn = Stacks::column(phrase, 6);
    phraseColumn->addWidget(m_phrase);
    phraseColumn->addWidget(m_phraseHint);

    auto *column = Stacks::column(this, 14);
    column->addWidget(new StepLabel(QStringLiteral("YOUR OWN SERVER"), this));
    column->addWidget(wrappingText(
        QStringLiteral("Furrow syncs to a server you run yourself. No account, no third party — "
                       "the address and the token are the whole setup."),
        Theme::body(), Theme::gray, this));
    column->addWidget(m_switch);
    column->addWidget(buildAddressBlock());
    column->addWidget(m_token);
    column->addWidget(m_secretsPlace);
    column->addWidget(new HairLine(this));
    column->addWidget(new StepLabel(QStringLiteral("SECRET PHRASE"), this));
    column->addWidget(wrappingText(
        QStringLiteral("Required. Every task is encrypted on this computer before it leaves, and "
                       "the server keeps blocks it cannot read. Use the same phrase on every "
                       "computer — and keep it, because nothing can recover it."),
        Theme::small(), Theme::muted, this));
    column->addWidget(phrase);
    column->addWidget(buildSuggestion());
    column->addSpacing(2);
    column->addWidget(buildCheckRow());
    column->addWidget(new CertificateTrustRow(m_engine, this));
    column->addStretch(1);
}

QWidget *SyncSettingsTab::buildCheckRow()
{
    auto *row = new QWidget(this);
    m_check = new PillButton(QStringLiteral("Sync now"), PillButton::Kind::Normal, row);
    m_check->setObjectName(QStringLiteral("syncNow"));
    m_check->setCompact(true);
    m_status = wrappingText({}, Theme::small(), Theme::muted, row);
    m_status->setObjectName(QStringLiteral("syncStatus"));
    auto *layout = Stacks::row(row, 10);
    layout->addWidget(m_check, 0, Qt::AlignVCenter);
    layout->addWidget(m_status, 1, Qt::AlignVCenter);
    connect(m_check, &QAbstractButton::clicked, this, &SyncSettingsTab::checkNow);
    return row;
}

QWidget *SyncSettingsTab::buildAddressBlock()
{
    m_addressHint = wrappingText(
        QStringLiteral("Use https:// for this address. Plain http:// only reaches a server on "
                       "this computer; to any other, Furrow sends nothing, because the token "
                       "would travel readable."),
        Theme::small(), Theme::clay, this);
    m_addressHint->setObjectName(QStringLiteral("syncAddressHint"));
    connect(m_address->input(), &QLineEdit::textChanged, this, &SyncSettingsTab::updateAddressHint);
    auto *block = new QWidget(this);
    auto *column = Stacks::column(block, 6);
    column->addWidget(m_address);
    column->addWidget(m_addressHint);
    return block;
}

QWidget *SyncSettingsTab::buildSuggestion()
{
    auto *block = new QWidget(this);
    m_suggest = new PillButton(QStringLiteral("Suggest a phrase"), PillButton::Kind::Normal, block);
    m_suggest->setObjectName(QStringLiteral("suggestPhrase"));
    m_suggest->setCompact(true);
    m_suggest->setVisible(phraseSuggester().isReady());
    m_suggestion = new LabelledField(QStringLiteral("Suggested phrase"), LabelledField::Kind::Plain,
                                     {}, block);
    m_suggestion->input()->setObjectName(QStringLiteral("suggestedPhrase"));
    m_suggestion->input()->setReadOnly(true);
    m_suggestion->hide();
    m_suggestionNote = wrappingText({}, Theme::small(), Theme::muted, block);
    m_suggestionNote->setObjectName(QStringLiteral("suggestedPhraseNote"));
    m_suggestionNote->hide();
    auto *column = Stacks::column(block, 6);
    column->addWidget(m_suggest, 0, Qt::AlignLeft);
    column->addWidget(m_suggestion);
    column->addWidget(m_suggestionNote);
    connect(m_suggest, &QAbstractButton::clicked, this, &SyncSettingsTab::suggestPhrase);
    return block;
}

void SyncSettingsTab::showEvent(QShowEvent *event)
{
    loadFromEngine();
    QWidget::showEvent(event);
}

void SyncSettingsTab::loadFromEngine()
{
    m_switch->setChecked(m_engine.isOn());
    m_address->input()->setText(m_engine.address());
    if (m_engine.hasSecrets()) {
        m_token->input()->setText(m_engine.token());
        m_phrase->setPhrase(m_engine.phrase());
    }
    showSecretsPlace();
    updateAddressHint();
    updatePhraseHint();
    updateButton();
}

void SyncSettingsTab::showSecretsPlace()
{
    const bool inKeyring = m_engine.keepsSecretsInKeyring();
    m_secretsPlace->setText(inKeyring
                                ? QStringLiteral("Stored in the keyring")
                                : QStringLiteral("Stored in Furrow.conf: no keyring is running"));
    // Until the keyring has been read, empty fields must not look like secrets never set.
    const QString unread = inKeyring && !m_engine.hasSecrets()
                               ? QStringLiteral("In the keyring, read at the next sync")
                               : QString();
    m_token->input()->setPlaceholderText(unread);
    m_phrase->input()->setPlaceholderText(unread);
}

void SyncSettingsTab::showStatus(const SyncStatus &status)
{
    m_status->setText(SyncStatusText::describe(status, m_engine.lastSynced()));
    m_status->setColor(statusColor(status.kind));
    // Sync may be switched elsewhere (the command line); the switch follows the status.
    m_switch->setChecked(m_engine.isOn());
    updateButton();
}

void SyncSettingsTab::updateButton()
{
    m_check->setText(m_checking ? QStringLiteral("Syncing…") : QStringLiteral("Sync now"));
    m_check->setEnabled(!m_checking && m_engine.isOn());
    m_check->updateGeometry();
}

void SyncSettingsTab::updatePhraseHint()
{
    const QString phrase = m_phrase->input()->text();
    // An empty phrase is the engine's to report when a cycle is asked for.
    m_phraseHint->setVisible(!phrase.trimmed().isEmpty() && PhraseStrength::isWeak(phrase));
}

void SyncSettingsTab::updateAddressHint()
{
    const std::optional<QUrl> url = SyncExchange::endpoint(m_address->input()->text());
    m_addressHint->setVisible(url && !SyncExchange::isSafeEndpoint(*url));
}

void SyncSettingsTab::suggestPhrase()
{
    // Whether a phrase is set decides what happens, so the keyring is read first.
    if (!m_engine.hasSecrets()) {
        const QPointer<SyncSettingsTab> tab(this);
        m_engine.loadSecrets([tab](bool loaded) {
            if (tab && loaded)
                tab->suggestPhrase();
        });
        return;
    }
    const QString phrase = phraseSuggester().suggest();
    if (phrase.isEmpty())
        return;
    m_suggestion->input()->setText(phrase);
    m_suggestion->show();
    // A phrase already set may be the one the other computers use: never replaced unasked.
    const bool adopted = m_phrase->input()->text().trimmed().isEmpty();
    if (adopted) {
        m_phrase->input()->setText(phrase);
        m_phrase->commit();
    }
    m_suggestionNote->setText(
        adopted ? QStringLiteral("This is now the phrase on this computer. Copy it and type it "
                                 "on your other computers.")
                : QStringLiteral("Your phrase is unchanged. To use this one, put it in the "
                                 "Phrase field here and on your other computers."));
    m_suggestionNote->show();
}

void SyncSettingsTab::checkNow()
{
    // A phrase still being typed counts once the button is pressed.
    m_phrase->commit();
    m_checking = true;
    updateButton();
    // The cycle outlives the tab when the window closes; then nobody is left to tell.
    const QPointer<SyncSettingsTab> tab(this);
    m_engine.syncNow([tab](bool) {
        if (!tab)
            return;
        tab->m_checking = false;
        tab->updateButton();
    });
}

} // namespace furrow
