#pragma once

#include <QFont>
#include <QStringList>

#include <optional>

namespace furrow {

// Registers the typefaces bundled in the resources and hands them out by PostScript name and
// size. Process-wide; main thread only.
namespace FontLoader {

// Registers every ".ttf" under ":/Fonts" and in the resource root with the font database and
// records each face under its PostScript name. Safe to call more than once.
void registerBundledFonts();

// The font of that face and size (in device-independent pixels), or none when no bundled font
// has that PostScript name. Ready fonts are cached by name and size; misses are not.
std::optional<QFont> font(const QString &name, qreal size);

// The PostScript names of the registered faces, sorted ascending.
QStringList registeredNames();

// How many ready fonts the cache holds.
qsizetype cachedFontCount();

} // namespace FontLoader
} // namespace furrow
