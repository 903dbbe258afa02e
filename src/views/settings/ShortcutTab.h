#pragma once

#include "hotkey/HotkeyCombo.h"
#include "hotkey/HotkeyStatus.h"

#include <QWidget>

#include <functional>
#include <memory>

class QPushButton;

namespace furrow {

class GnomeShortcut;
class HotkeyRow;

// The settings window's Shortcut tab: the capture hotkey's recorder and what the panel does;
// where the desktop takes no global shortcuts, the command to bind instead, with a button that
// copies it and, on GNOME, one that binds it for the user.
class ShortcutTab : public QWidget
{
    Q_OBJECT

public:
    ShortcutTab(std::function<HotkeyStatus(const HotkeyCombo &)> apply, bool supported,
                QWidget *parent = nullptr);
    ~ShortcutTab() override;

    static QString command();
    // Follows a registration made elsewhere or an answer the desktop gave later.
    void showHotkeyStatus(HotkeyStatus status);

private:
    QWidget *commandRow();
    void toggleGnomeShortcut();

    HotkeyRow *m_row;
    std::unique_ptr<GnomeShortcut> m_gnome;
    QPushButton *m_gnomeButton = nullptr;
    bool m_gnomeAdded = false;
};

} // namespace furrow
