#pragma once

namespace furrow {

// Whether the desktop accepted the capture hotkey last registered in this process; true until
// a registration says otherwise.
namespace HotkeyState {

bool registered();
void setRegistered(bool registered);

} // namespace HotkeyState
} // namespace furrow
