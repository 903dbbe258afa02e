#include "views/settings/PhraseStrength.h"

#include <QTextBoundaryFinder>

namespace furrow::PhraseStrength {

namespace {

qsizetype characterCount(const QString &text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

} // namespace

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
