#include "HotkeyState.h"

namespace furrow::HotkeyState {

namespace {
bool s_registered = true;
} // namespace

bool registered()
{
    return s_registered;
}

void setRegistered(bool registered)
{
    s_registered = registered;
}

} // namespace furrow::HotkeyState
