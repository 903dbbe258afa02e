#include "HotkeyPreference.h"

#include "model/UserDefaults.h"

#include <limits>

namespace furrow::HotkeyPreference {

namespace {

const QString kKeyCode = QStringLiteral("hotkey.keyCode");
const QString kModifiers = QStringLiteral("hotkey.modifiers");
const QString kPortalTrigger = QStringLiteral("hotkey.portalTrigger");

// The stored text as an integer in 0…4294967295.
std::optional<quint32> readUnsigned(const QVariant &value)
{
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    if (!ok || number < 0 || number > qlonglong(std::numeric_limits<quint32>::max()))
        return std::nullopt;
    return quint32(number);
}

} // namespace

HotkeyCombo combo()
{
    const auto defaults = UserDefaults::open();
    if (!defaults->contains(kKeyCode))
        return HotkeyCombo::defaultCombo();
    const std::optional<quint32> keyCode = readUnsigned(defaults->value(kKeyCode));
    const std::optional<quint32> modifiers = defaults->contains(kModifiers)
                                                 ? readUnsigned(defaults->value(kModifiers))
                                                 : std::optional<quint32>(0);
    if (!keyCode || !modifiers)
        return HotkeyCombo::defaultCombo();
    return HotkeyCombo{*keyCode, *modifiers};
}

void setCombo(const HotkeyCombo &combo)
{
    const auto defaults = UserDefaults::open();
    defaults->setValue(kKeyCode, qulonglong(combo.keyCode));
    defaults->setValue(kModifiers, qulonglong(combo.modifiers));
    defaults->sync();
}

QString portalTrigger()
{
    return UserDefaults::open()->value(kPortalTrigger).toString();
}

void setPortalTrigger(const QString &trigger)
{
    const auto defaults = UserDefaults::open();
    defaults->setValue(kPortalTrigger, trigger);
    defaults->sync();
}

} // namespace furrow::HotkeyPreference
