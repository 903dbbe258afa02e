#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace furrow {

// Capture text cut into words at white space, each with its lower-case core (the word without
// trailing punctuation) and whether it lies in a quoted stretch that is never read.
class CaptureWords
{
public:
    struct Word
    {
        qsizetype start = 0;
        qsizetype coreEnd = 0; // end of the core in the text
        qsizetype end = 0;     // end of the word, punctuation included
        QString core;          // lower case
        bool quoted = false;
        bool taken = false;
        bool punctuated() const { return coreEnd != end; }
    };

    explicit CaptureWords(const QString &text);

    const QString &text() const { return m_text; }
    qsizetype size() const { return qsizetype(m_words.size()); }
    const Word &operator[](qsizetype i) const { return m_words[size_t(i)]; }
    // The lower-case core at i, or empty past the end or on a quoted or taken word.
    QString coreAt(qsizetype i) const;
    // Whether words first..last (inclusive) are free and only the last may end in punctuation,
    // except that `commaAllowed` lets inner words end in one comma.
    bool joinable(qsizetype first, qsizetype last, bool commaAllowed = false) const;
    void markTaken(qsizetype first, qsizetype last);

private:
    void markQuoted();

    QString m_text;
    std::vector<Word> m_words;
};

// The small vocabulary the capture grammar is made of.
namespace CaptureVocabulary {

// 1 (Monday) … 7 (Sunday) for a full or three-letter weekday name.
std::optional<int> weekday(const QString &word);
// 1 … 12 for a full or three-letter month name.
std::optional<int> month(const QString &word);
// A day of the month: "24", or with its own ordinal ending when `ordinal` allows ("24th").
std::optional<int> dayNumber(const QString &word, bool ordinalAllowed, bool ordinalRequired);
// A positive count of at most 999 in plain digits.
std::optional<int> count(const QString &word);

} // namespace CaptureVocabulary
} // namespace furrow
