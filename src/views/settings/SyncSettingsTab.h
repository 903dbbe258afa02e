#pragma once

#include <QWidget>

namespace furrow {

class LabelledField;
class PhraseField;
class PillButton;
class SyncEngine;
class TextLabel;
class ToggleSwitch;
struct SyncStatus;

// The Sync tab of the settings window: switches sync on and off, edits the server address, the
// access token and the secret phrase straight into the engine, says where the secrets are kept,
// starts a cycle by hand and shows the engine's status. Secrets in a keyring are shown once a
// cycle or the user's act has read them, never read just because the tab opened.
class SyncSettingsTab : public QWidget
{
    Q_OBJECT

public:
    explicit SyncSettingsTab(SyncEngine &engine, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildFields();
    void layOut();
    QWidget *buildCheckRow();
    // The address field with the warning shown under it while the address is refused.
    QWidget *buildAddressBlock();
    // The "Suggest a phrase" button and the suggestion it shows.
    QWidget *buildSuggestion();
    // The fields and the switch take the engine's values; the secret fields only once known.
    void loadFromEngine();
    void showSecretsPlace();
    void showStatus(const SyncStatus &status);
    void updateButton();
    void updatePhraseHint();
    void checkNow();
    void updateAddressHint();
    // Draws a phrase and shows it; it becomes this computer's phrase only when none is set.
    void suggestPhrase();

    SyncEngine &m_engine;
    // A cycle started by the button is running.
    bool m_checking = false;
    ToggleSwitch *m_switch = nullptr;
    LabelledField *m_address = nullptr;
    TextLabel *m_addressHint = nullptr;
    LabelledField *m_token = nullptr;
    PhraseField *m_phrase = nullptr;
    TextLabel *m_phraseHint = nullptr;
    TextLabel *m_secretsPlace = nullptr;
    PillButton *m_suggest = nullptr;
    LabelledField *m_suggestion = nullptr;
    TextLabel *m_suggestionNote = nullptr;
    PillButton *m_check = nullptr;
    TextLabel *m_status = nullptr;
};

} // namespace furrow
