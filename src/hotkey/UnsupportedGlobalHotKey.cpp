#include "UnsupportedGlobalHotKey.h"

namespace furrow {

bool UnsupportedGlobalHotKey::registerCombo(const HotkeyCombo &, std::function<void()>)
{
    setStatus(HotkeyStatus::Taken);
    return false;
}

void UnsupportedGlobalHotKey::unregister()
{
    setStatus(HotkeyStatus::Unregistered);
}

} // namespace furrow
