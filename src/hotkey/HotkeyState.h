#pragma once

#include "HotkeyStatus.h"

namespace furrow {

// What became of the capture hotkey last registered in this process; Registered until a
// registration says otherwise.
namespace HotkeyState {

HotkeyStatus status();
void setStatus(HotkeyStatus status);

} // namespace HotkeyState
} // namespace furrow
