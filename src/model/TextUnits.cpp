#include "TextUnits.h"

#include <QTextBoundaryFinder>

namespace furrow::TextUnits {

namespace {

// Position just after the first `count` characters, or the text's length.
qsizetype positionAfter(const QString &text, qsizetype count)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype position = 0;
    for (qsizetype i = 0; i < count && position < text.size(); ++i) {
        position = finder.toNextBoundary();
        if (position < 0)
            return text.size();
    }
    return position;
}

bool isSpaceOrTab(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

template<class Predicate>
QString trimmed(const QString &text, Predicate isTrimmed)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isTrimmed(text.at(begin)))
        ++begin;
    while (end > begin && isTrimmed(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

qsizetype characterCount(const QString &text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

QString leftCharacters(const QString &text, qsizetype count)
{
    return text.left(positionAfter(text, count));
}

QString dropFirstCharacter(const QString &text)
{
    return text.mid(positionAfter(text, 1));
}

bool startsWithCharacter(const QString &text, QChar character)
{
    return !text.isEmpty() && text.at(0) == character && positionAfter(text, 1) == 1;
}

bool hasCanonicalPrefix(const QString &text, const QString &prefix)
{
    const QString whole = text.normalized(QString::NormalizationForm_C);
    const QString start = prefix.normalized(QString::NormalizationForm_C);
    if (!whole.startsWith(start))
        return false;
    if (start.size() == whole.size())
        return true;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, whole);
    finder.setPosition(start.size());
    return finder.isAtBoundary();
}

bool canonicallyEqual(const QString &a, const QString &b)
{
    return a.normalized(QString::NormalizationForm_C) == b.normalized(QString::NormalizationForm_C);
}

QString trimmedOfSpacesAndTabs(const QString &text)
{
    return trimmed(text, isSpaceOrTab);
}

} // namespace furrow::TextUnits
