#include "UnsupportedGlobalHotKey.h"

namespace furrow {

bool UnsupportedGlobalHotKey::registerCombo(const HotkeyCombo &, std::function<void()>)
{
    setRegistered(false);
    return false;
}

void UnsupportedGlobalHotKey::unregister()
{
    setRegistered(false);
}

} // namespace furrow
