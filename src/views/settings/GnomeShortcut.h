#pragma once

#include "hotkey/HotkeyCombo.h"

#include <QStringList>

#include <optional>

namespace furrow {

// The planner's custom keyboard shortcut in GNOME's settings: adds or removes a binding that
// runs `furrow --quick-capture`, through the `gsettings` program.
class GnomeShortcut
{
public:
    explicit GnomeShortcut(QString program = QStringLiteral("gsettings"));

    // Whether the session's desktop is GNOME.
    static bool isGnomeSession();
    // The combination in GNOME's accelerator form, e.g. "<Control><Alt>space".
    static QString accelerator(const HotkeyCombo &combo);

    // Adds the binding for `combo` (or updates it when it is already listed); true on success.
    bool add(const HotkeyCombo &combo);
    // Takes the binding off the list and resets its keys; true on success.
    bool remove();

private:
    std::optional<QStringList> listedPaths() const;
    bool setListedPaths(const QStringList &paths) const;
    bool run(const QStringList &arguments, QByteArray *output = nullptr) const;

    QString m_program;
};

} // namespace furrow
