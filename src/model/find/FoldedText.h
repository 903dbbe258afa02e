#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace furrow {

// Text as search compares it: compatibility-decomposed (NFKD), combining marks removed and
// case-folded, with the position in the original text of every folded code unit, so that a
// match found in the folded text can be emphasised in the original.
class FoldedText
{
public:
    // Keys longer than this many code units are cut; longer query words are verified on the
    // text itself.
    static constexpr qsizetype kKeyLimit = 12;

    explicit FoldedText(const QString &original, bool keepOrigins = false);

    static QString fold(const QString &text) { return FoldedText(text).text(); }

    const QString &text() const { return m_text; }
    // Positions where a word starts: the first letter or digit after a break, and every
    // character of a script written without spaces (CJK, Thai, …) or a symbol such as an
    // emoji, so that those match by character sequence.
    const std::vector<qsizetype> &wordStarts() const;
    // The index key of the word starting at `start`: the run of word characters from there,
    // cut to the key limit.
    QString keyAt(qsizetype start) const;
    // Whether `word` (folded) is found at the start of some word of this text.
    bool containsWordPrefix(const QString &word) const;
    // Every [start, end) range of the original text where one of the words is found at a
    // word start; needs the origins.
    std::vector<std::pair<qsizetype, qsizetype>>
    originalRanges(const std::vector<QString> &words) const;
    // The original position of a folded position; needs the origins.
    qsizetype originAt(qsizetype folded) const;

    // The query's words: runs of word characters, folded.
    static std::vector<QString> queryWords(const QString &query);

private:
    void append(const QString &piece, qsizetype origin, bool keepOrigins);
    qsizetype runEnd(qsizetype start) const;

    QString m_text;
    std::vector<qsizetype> m_origins;
    // Found on first use, then kept: a text is usually asked about several words.
    mutable std::optional<std::vector<qsizetype>> m_starts;
    qsizetype m_originalSize = 0;
};

} // namespace furrow
