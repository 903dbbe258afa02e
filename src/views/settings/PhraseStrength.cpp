#include "views/settings/PhraseStrength.h"

#include "model/TextUnits.h"

namespace furrow::PhraseStrength {

using TextUnits::characterCount;

bool isWeak(const QString &phrase)
{
    const QString text = phrase.simplified();
    const qsizetype characters = characterCount(text);
    const qsizetype words = text.isEmpty() ? 0 : text.count(u' ') + 1;
    if (characters < kCharacters)
        return true;
    return words < kWords && characters < kCharactersAlone;
}

} // namespace furrow::PhraseStrength
