#pragma once

#include "HotkeyCombo.h"

namespace furrow {

// The capture hotkey kept in the user's defaults under "hotkey.keyCode" and "hotkey.modifiers",
// and the trigger the desktop portal last bound for it under "hotkey.portalTrigger".
namespace HotkeyPreference {

// The stored combination, or the default one when none is stored or a stored value is not a
// 32-bit unsigned integer.
HotkeyCombo combo();
void setCombo(const HotkeyCombo &combo);

// The trigger text ("CTRL+ALT+space") the portal last confirmed; empty when none.
QString portalTrigger();
void setPortalTrigger(const QString &trigger);

} // namespace HotkeyPreference
} // namespace furrow
