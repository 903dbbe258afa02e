#pragma once

#include "hotkey/HotkeyCombo.h"
#include "hotkey/HotkeyStatus.h"

#include <QWidget>

#include <functional>

class QKeyEvent;

namespace furrow {

class PillButton;
class TextLabel;

// The capture hotkey's row: shows the combination and records a new one from the next modified
// key press, then stores it, registers it through `apply` and says what the desktop made of it,
// following an answer that comes later.
class HotkeyRow : public QWidget
{
    Q_OBJECT

public:
    using Apply = std::function<HotkeyStatus(const HotkeyCombo &)>;

    // `apply` registers a combination and answers what became of it; `status` is the current
    // hotkey's; `supported` is false where no combination can be registered.
    HotkeyRow(Apply apply, HotkeyStatus status, bool supported, QWidget *parent = nullptr);
    ~HotkeyRow() override;

    bool isRecording() const { return m_recording; }
    HotkeyCombo combo() const { return m_combo; }
    void startRecording();
    void stopRecording();
    // Shows what became of the hotkey when it was registered elsewhere or the desktop answered.
    void showStatus(HotkeyStatus status);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void keyPressed(const QKeyEvent &event);
    void apply(const HotkeyCombo &combo);
    void refresh();

    Apply m_apply;
    HotkeyCombo m_combo;
    bool m_recording = false;
    HotkeyStatus m_hotkey;
    bool m_supported;
    PillButton *m_button;
    TextLabel *m_status;
};

} // namespace furrow
