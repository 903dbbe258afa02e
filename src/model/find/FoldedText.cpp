#include "FoldedText.h"

#include <algorithm>

namespace furrow {

namespace {

enum class CharClass { Break, Word, Solo };

char32_t codePointAt(const QString &text, qsizetype i, qsizetype *units)
{
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
        *units = 2;
        return QChar::surrogateToUcs4(c, text.at(i + 1));
    }
    *units = 1;
    return c.unicode();
}

bool isUnspacedScript(char32_t cp)
{
    switch (QChar::script(cp)) {
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
    case QChar::Script_Thai:
    case QChar::Script_Lao:
    case QChar::Script_Khmer:
    case QChar::Script_Myanmar:
    case QChar::Script_Tibetan:
        return true;
    default:
        return false;
    }
}

CharClass classOf(char32_t cp)
{
    if (cp < 0x80) {
        const bool word = (cp >= u'a' && cp <= u'z') || (cp >= u'A' && cp <= u'Z')
                          || (cp >= u'0' && cp <= u'9');
        return word ? CharClass::Word : CharClass::Break;
    }
    if (isUnspacedScript(cp))
        return CharClass::Solo;
    switch (QChar::category(cp)) {
    case QChar::Symbol_Other:
        return CharClass::Solo;
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other:
        return CharClass::Word;
    default:
        return CharClass::Break;
    }
}

CharClass classAt(const QString &text, qsizetype i, qsizetype *units)
{
    return classOf(codePointAt(text, i, units));
}

bool isMark(QChar c)
{
    const auto category = c.category();
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining
           || category == QChar::Mark_Enclosing;
}

} // namespace

FoldedText::FoldedText(const QString &original, bool keepOrigins)
    : m_originalSize(original.size())
{
    m_text.reserve(original.size());
    for (qsizetype i = 0; i < original.size();) {
        const QChar c = original.at(i);
        if (c.unicode() < 0x80) {
            m_text.append(c.toLower());
            if (keepOrigins)
                m_origins.push_back(i);
            ++i;
            continue;
        }
        qsizetype units = 1;
        codePointAt(original, i, &units);
        append(original.mid(i, units), i, keepOrigins);
        i += units;
    }
}

void FoldedText::append(const QString &piece, qsizetype origin, bool keepOrigins)
{
    QString kept;
    for (const QChar c : piece.normalized(QString::NormalizationForm_KD)) {
        if (!isMark(c))
            kept.append(c);
    }
    kept = kept.toCaseFolded();
    m_text.append(kept);
    if (keepOrigins)
        m_origins.insert(m_origins.end(), kept.size(), origin);
}

qsizetype FoldedText::runEnd(qsizetype start) const
{
    qsizetype i = start;
    while (i < m_text.size()) {
        qsizetype units = 1;
        if (classAt(m_text, i, &units) == CharClass::Break)
            break;
        i += units;
    }
    return i;
}

const std::vector<qsizetype> &FoldedText::wordStarts() const
{
    if (m_starts)
        return *m_starts;
    std::vector<qsizetype> &starts = m_starts.emplace();
    CharClass previous = CharClass::Break;
    for (qsizetype i = 0; i < m_text.size();) {
        qsizetype units = 1;
        const CharClass current = classAt(m_text, i, &units);
        if (current == CharClass::Solo
            || (current == CharClass::Word && previous != CharClass::Word))
            starts.push_back(i);
        previous = current;
        i += units;
    }
    return starts;
}

QString FoldedText::keyAt(qsizetype start) const
{
    qsizetype length = std::min(runEnd(start) - start, kKeyLimit);
    // Never cut a surrogate pair in two.
    if (length > 0 && m_text.at(start + length - 1).isHighSurrogate())
        --length;
    return m_text.mid(start, length);
}

bool FoldedText::containsWordPrefix(const QString &word) const
{
    for (const qsizetype start : wordStarts()) {
        if (QStringView(m_text).sliced(start).startsWith(word))
            return true;
    }
    return false;
}

qsizetype FoldedText::originAt(qsizetype folded) const
{
    if (folded >= qsizetype(m_origins.size()))
        return m_originalSize;
    return m_origins[size_t(folded)];
}

std::vector<std::pair<qsizetype, qsizetype>>
FoldedText::originalRanges(const std::vector<QString> &words) const
{
    std::vector<std::pair<qsizetype, qsizetype>> ranges;
    for (const qsizetype start : wordStarts()) {
        const QStringView rest = QStringView(m_text).sliced(start);
        qsizetype longest = 0;
        for (const QString &word : words) {
            if (rest.startsWith(word))
                longest = std::max(longest, word.size());
        }
        if (longest == 0)
            continue;
        const qsizetype end = start + longest;
        // The range ends where the next original character begins, so that marks folded
        // away stay inside it.
        qsizetype originalEnd = m_originalSize;
        for (qsizetype k = end; k < m_text.size(); ++k) {
            if (originAt(k) > originAt(end - 1)) {
                originalEnd = originAt(k);
                break;
            }
        }
        ranges.emplace_back(originAt(start), originalEnd);
    }
    return ranges;
}

std::vector<QString> FoldedText::queryWords(const QString &query)
{
    const FoldedText folded(query);
    const QString &text = folded.text();
    std::vector<QString> words;
    for (qsizetype i = 0; i < text.size();) {
        qsizetype units = 1;
        if (classAt(text, i, &units) == CharClass::Break) {
            i += units;
            continue;
        }
        const qsizetype end = folded.runEnd(i);
        words.push_back(text.mid(i, end - i));
        i = end;
    }
    return words;
}

} // namespace furrow
