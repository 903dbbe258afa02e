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
// access token and the secret phrase straight into the engine, starts a cycle by hand and shows
// the engine's status.
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
    // The fields and the switch take the engine's values.
    void loadFromEngine();
    void showStatus(const SyncStatus &status);
    void updateButton();
    void updatePhraseHint();
    void checkNow();

    SyncEngine &m_engine;
    // A cycle started by the button is running.
    bool m_checking = false;
    ToggleSwitch *m_switch = nullptr;
    LabelledField *m_address = nullptr;
    LabelledField *m_token = nullptr;
    PhraseField *m_phrase = nullptr;
    TextLabel *m_phraseHint = nullptr;
    PillButton *m_check = nullptr;
    TextLabel *m_status = nullptr;
};

} // namespace furrow
