#pragma once

#include "shell/hotkey/HotkeyCombo.h"

#include <QWidget>

#include <functional>

namespace furrow {

class PillButton;
class TextLabel;

// The capture hotkey's row: shows the combination and records a new one from the next modified
// key press, then stores it, registers it through `apply` and says whether the desktop took it.
class HotkeyRow : public QWidget
{
    Q_OBJECT

public:
    // `apply` registers a combination and answers whether the desktop accepted it; `registered`
    // is the current hotkey's state; `supported` is false where no combination can be registered.
    HotkeyRow(std::function<bool(const HotkeyCombo &)> apply, bool registered, bool supported,
              QWidget *parent = nullptr);
    ~HotkeyRow() override;

    bool isRecording() const { return m_recording; }
    HotkeyCombo combo() const { return m_combo; }
    void startRecording();
    void stopRecording();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void keyPressed(int key, Qt::KeyboardModifiers modifiers);
    void apply(const HotkeyCombo &combo);
    void setRegistered(bool registered);
    void refresh();

    std::function<bool(const HotkeyCombo &)> m_apply;
    HotkeyCombo m_combo;
    bool m_recording = false;
    bool m_registered;
    bool m_supported;
    PillButton *m_button;
    TextLabel *m_status;
};

} // namespace furrow
