#include "WordPrefixText.h"

#include <algorithm>

namespace furrow {

namespace {

bool isAsciiWordChar(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

char16_t asciiLower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
}

bool isAscii(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

bool startsWithLowered(QStringView rest, const QString &word)
{
    if (rest.size() < word.size())
        return false;
    for (qsizetype k = 0; k < word.size(); ++k) {
        if (asciiLower(rest[k].unicode()) != word[k].unicode())
            return false;
    }
    return true;
}

} // namespace

WordPrefixText::WordPrefixText(const QString &text)
    : m_text(text)
    , m_ascii(isAscii(text))
{}

bool WordPrefixText::containsWordPrefix(const QString &word) const
{
    if (!m_ascii) {
        if (!m_folded)
            m_folded.emplace(m_text);
        return m_folded->containsWordPrefix(word);
    }
    const QStringView text(m_text);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool start = isAsciiWordChar(text[i].unicode())
                           && (i == 0 || !isAsciiWordChar(text[i - 1].unicode()));
        if (start && startsWithLowered(text.sliced(i), word))
            return true;
    }
    return false;
}

} // namespace furrow
