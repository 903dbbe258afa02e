#include "HotkeyCombo.h"

#include "KeyTable.h"

#include <QStringList>

#include <array>
#include <utility>

namespace furrow {

HotkeyCombo HotkeyCombo::defaultCombo()
{
    return HotkeyCombo{kSpaceKey, kControl | kAlt};
}

bool HotkeyCombo::isReserved() const
{
    static constexpr std::array kReservedMasks{kAlt, kSuper, kControl, kControl | kSuper};
    if (keyCode != kSpaceKey)
        return false;
    for (const quint32 mask : kReservedMasks) {
        if (modifiers == mask)
            return true;
    }
    return false;
}

QString HotkeyCombo::display() const
{
    static const std::array<std::pair<quint32, const char *>, 4> kNames{{
        {kControl, "Ctrl"},
        {kAlt, "Alt"},
        {kShift, "Shift"},
        {kSuper, "Super"},
    }};
    QStringList parts;
    for (const auto &[mask, name] : kNames) {
        if (modifiers & mask)
            parts.append(QString::fromLatin1(name));
    }
    parts.append(keyName(keyCode));
    return parts.join(QLatin1Char('+'));
}

QString HotkeyCombo::keyName(quint32 keyCode)
{
    switch (keyCode) {
    case 36:
        return QStringLiteral("Return");
    case 48:
        return QStringLiteral("Tab");
    case kSpaceKey:
        return QStringLiteral("Space");
    case 53:
        return QStringLiteral("Esc");
    default:
        break;
    }
    if (const std::optional<QChar> character = KeyTable::characterFor(keyCode))
        return QString(*character);
    return QStringLiteral("Key ") + QString::number(keyCode);
}

quint32 HotkeyCombo::modifiersFrom(Qt::KeyboardModifiers modifiers)
{
    quint32 mask = 0;
    if (modifiers & Qt::ControlModifier)
        mask |= kControl;
    if (modifiers & Qt::AltModifier)
        mask |= kAlt;
    if (modifiers & Qt::ShiftModifier)
        mask |= kShift;
    if (modifiers & Qt::MetaModifier)
        mask |= kSuper;
    return mask;
}

std::optional<HotkeyCombo> HotkeyCombo::fromQtKey(int qtKey, Qt::KeyboardModifiers modifiers,
                                                  quint32 scanCode)
{
    std::optional<quint32> keyCode = KeyTable::keyCodeForQtKey(qtKey);
    if (!keyCode)
        keyCode = KeyTable::keyCodeForScanCode(scanCode);
    if (!keyCode)
        return std::nullopt;
    return HotkeyCombo{*keyCode, modifiersFrom(modifiers)};
}

} // namespace furrow
