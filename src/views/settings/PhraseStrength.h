#pragma once

#include <QString>

namespace furrow {

// Whether a secret phrase is easy to guess. The sync key is derived from the phrase with a fast
// hash and no slow stretching step, so a server that keeps the sealed blocks can try guesses
// at full speed: the phrase alone has to carry the strength.
namespace PhraseStrength {

// Words a phrase should have, unless it is long enough without them.
inline constexpr int kWords = 4;
// Characters any phrase should have.
inline constexpr int kCharacters = 20;
// Characters that make a phrase without spaces (a generated string) long enough on its own.
inline constexpr int kCharactersAlone = 32;

// True for a phrase of fewer than 20 characters, or of fewer than four words and fewer than
// 32 characters. Characters are counted as the user sees them; runs of white space count once.
bool isWeak(const QString &phrase);

} // namespace PhraseStrength
} // namespace furrow
