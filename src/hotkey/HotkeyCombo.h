#pragma once

#include <QString>
#include <Qt>

#include <optional>

namespace furrow {

// One capture hotkey: a key code and a modifier mask in the stored, platform-neutral form,
// with its display text and the conversions from Qt key events.
struct HotkeyCombo
{
    static constexpr quint32 kSuper = 0x100;
    static constexpr quint32 kShift = 0x200;
    static constexpr quint32 kAlt = 0x800;
    static constexpr quint32 kControl = 0x1000;
    static constexpr quint32 kSpaceKey = 49;

    quint32 keyCode = kSpaceKey;
    quint32 modifiers = kControl | kAlt;

    static HotkeyCombo defaultCombo();
    // The space-bar combinations the Linux desktops keep for themselves.
    bool isReserved() const;
    // "Ctrl+Alt+Space", "Ctrl+Super+K", "Ctrl+Shift+1", a bare "K".
    QString display() const;

    static QString keyName(quint32 keyCode);
    static quint32 modifiersFrom(Qt::KeyboardModifiers modifiers);
    // The key by its Qt key, or else by its native scan code: with Shift a digit or punctuation
    // key reaches Qt as the symbol it types. Nothing for a key the stored form has no code for.
    static std::optional<HotkeyCombo> fromQtKey(int qtKey, Qt::KeyboardModifiers modifiers,
                                                quint32 scanCode = 0);

    friend bool operator==(const HotkeyCombo &, const HotkeyCombo &) = default;
};

} // namespace furrow
