#include "CaptureWords.h"

#include "model/repeat/RepeatWords.h"

#include <array>

namespace furrow {

namespace {

bool isTrailingPunctuation(QChar c)
{
    return c == u',' || c == u'.' || c == u';' || c == u':' || c == u'!' || c == u'?';
}

// A plain number of one to `maxDigits` ASCII digits at the front of `text`; its digit count.
qsizetype leadingDigits(const QString &text, qsizetype maxDigits)
{
    qsizetype n = 0;
    while (n < text.size() && n <= maxDigits && text[n] >= u'0' && text[n] <= u'9')
        ++n;
    return n > maxDigits ? 0 : n;
}

template<size_t N>
std::optional<int> nameIndex(const std::array<const char16_t *, N> &names, const QString &word)
{
    if (word.size() < 3)
        return std::nullopt;
    for (size_t i = 0; i < N; ++i) {
        const QStringView name(names[i]);
        if (word == name || word == name.left(3))
            return int(i) + 1;
    }
    return std::nullopt;
}

} // namespace

CaptureWords::CaptureWords(const QString &text)
    : m_text(text)
{
    qsizetype i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i].isSpace())
            ++i;
        if (i == text.size())
            break;
        Word word;
        word.start = i;
        while (i < text.size() && !text[i].isSpace())
            ++i;
        word.end = i;
        word.coreEnd = i;
        while (word.coreEnd > word.start && isTrailingPunctuation(text[word.coreEnd - 1]))
            --word.coreEnd;
        word.core = text.mid(word.start, word.coreEnd - word.start).toLower();
        m_words.push_back(std::move(word));
    }
    markQuoted();
}

void CaptureWords::markQuoted()
{
    // Straight double quotes pair up from the left; an unpaired one quotes nothing.
    qsizetype open = -1;
    for (qsizetype i = 0; i < m_text.size(); ++i) {
        if (m_text[i] != u'"')
            continue;
        if (open < 0) {
            open = i;
            continue;
        }
        for (Word &word : m_words) {
            if (word.start <= i && word.end > open)
                word.quoted = true;
        }
        open = -1;
    }
}

QString CaptureWords::coreAt(qsizetype i) const
{
    if (i < 0 || i >= size() || m_words[size_t(i)].quoted || m_words[size_t(i)].taken)
        return {};
    return m_words[size_t(i)].core;
}

bool CaptureWords::joinable(qsizetype first, qsizetype last, bool commaAllowed) const
{
    if (first < 0 || last >= size())
        return false;
    for (qsizetype i = first; i <= last; ++i) {
        const Word &word = m_words[size_t(i)];
        if (word.quoted || word.taken || word.core.isEmpty())
            return false;
        if (i == last || !word.punctuated())
            continue;
        if (!commaAllowed || word.end - word.coreEnd != 1 || m_text[word.coreEnd] != u',')
            return false;
    }
    return true;
}

void CaptureWords::markTaken(qsizetype first, qsizetype last)
{
    for (qsizetype i = first; i <= last; ++i)
        m_words[size_t(i)].taken = true;
}

namespace CaptureVocabulary {

std::optional<int> weekday(const QString &word)
{
    static constexpr std::array<const char16_t *, 7> names
        = {u"monday", u"tuesday", u"wednesday", u"thursday", u"friday", u"saturday", u"sunday"};
    return nameIndex(names, word);
}

std::optional<int> month(const QString &word)
{
    static constexpr std::array<const char16_t *, 12> names
        = {u"january", u"february", u"march",     u"april",   u"may",      u"june",
           u"july",    u"august",   u"september", u"october", u"november", u"december"};
    return nameIndex(names, word);
}

std::optional<int> dayNumber(const QString &word, bool ordinalAllowed, bool ordinalRequired)
{
    const qsizetype digits = leadingDigits(word, 2);
    if (digits == 0)
        return std::nullopt;
    const int n = word.left(digits).toInt();
    if (n < 1 || n > 31)
        return std::nullopt;
    const QStringView rest = QStringView(word).mid(digits);
    if (rest.isEmpty())
        return ordinalRequired ? std::nullopt : std::optional<int>(n);
    if (ordinalAllowed && rest == RepeatWords::ordinalSuffix(n))
        return n;
    return std::nullopt;
}

std::optional<int> count(const QString &word)
{
    const qsizetype digits = leadingDigits(word, 3);
    if (digits == 0 || digits != word.size())
        return std::nullopt;
    const int n = word.toInt();
    return n > 0 ? std::optional<int>(n) : std::nullopt;
}

} // namespace CaptureVocabulary
} // namespace furrow
