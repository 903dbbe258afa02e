#pragma once

#include "HotkeyCombo.h"

namespace furrow {

// The capture hotkey kept in the user's defaults under "hotkey.keyCode" and "hotkey.modifiers".
namespace HotkeyPreference {

// The stored combination, or the default one when none is stored or a stored value is not a
// 32-bit unsigned integer.
HotkeyCombo combo();
void setCombo(const HotkeyCombo &combo);

} // namespace HotkeyPreference
} // namespace furrow
