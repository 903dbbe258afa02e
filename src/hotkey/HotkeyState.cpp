#include "HotkeyState.h"

namespace furrow::HotkeyState {

namespace {
HotkeyStatus s_status = HotkeyStatus::Registered;
} // namespace

HotkeyStatus status()
{
    return s_status;
}

void setStatus(HotkeyStatus status)
{
    s_status = status;
}

} // namespace furrow::HotkeyState
