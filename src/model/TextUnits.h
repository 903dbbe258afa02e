#pragma once

#include <QString>

namespace furrow {

// Text measured in characters as the user sees them (extended grapheme clusters).
namespace TextUnits {

qsizetype characterCount(const QString &text);
// The first `count` characters of the text (all of it when it is shorter).
QString leftCharacters(const QString &text, qsizetype count);
// The text without its first character.
QString dropFirstCharacter(const QString &text);
bool startsWithCharacter(const QString &text, QChar character);
// Whether `prefix` is a prefix of `text` when both are compared by canonical equivalence and
// character by character (a prefix may not end inside a character of the text).
bool hasCanonicalPrefix(const QString &text, const QString &prefix);
bool canonicallyEqual(const QString &a, const QString &b);

// Trims spaces (general category Zs) and tabs at both ends; line breaks stay.
QString trimmedOfSpacesAndTabs(const QString &text);

} // namespace TextUnits
} // namespace furrow
