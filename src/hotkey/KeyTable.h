#pragma once

#include <QChar>
#include <QString>

#include <optional>

namespace furrow {

// The one table between the stored key codes and the keys of Qt and X11: letters, digits,
// punctuation, space, return, tab, escape, F1–F12 and the arrows. A key outside it cannot be a
// hotkey.
namespace KeyTable {

std::optional<quint32> keyCodeForQtKey(int qtKey);
// The digit or punctuation key with that XKB keycode (what Qt gives as the native scan code on
// X11 and Wayland), for the shifted keys whose Qt key is the symbol they type ("!" for "1").
std::optional<quint32> keyCodeForScanCode(quint32 scanCode);
std::optional<quint32> keyCodeForKeysym(quint32 keysym);
// The X11 keysym of a stored key code; 0 (NoSymbol) when the table has none.
quint32 keysymFor(quint32 keyCode);
// The XKB keysym name ("space", "k", "F1") that shortcut triggers are written with; empty
// when the table has none.
QString keysymName(quint32 keyCode);
// What a letter, digit or punctuation key is shown as: the upper-case letter, the digit, the
// unshifted symbol.
std::optional<QChar> characterFor(quint32 keyCode);

} // namespace KeyTable
} // namespace furrow
