#pragma once

#include <QByteArray>
#include <QStringList>

#include <functional>
#include <optional>

namespace furrow {

// Suggests secret phrases: words drawn independently and uniformly from the EFF long word list
// (7 776 words, about 12.9 bits each) with the operating system's secure generator.
class PhraseSuggester
{
public:
    static constexpr int kListSize = 7776;
    static constexpr int kWords = 6;
    // `count` random bytes, or none when the generator fails.
    using RandomSource = std::function<std::optional<QByteArray>(qsizetype count)>;

    // Reads the list from the JavaScript module that carries it, one `'11111': 'abacus',` line
    // per word. A suggester without words when the module does not hold exactly the 7 776 dice
    // numbers with distinct words.
    static PhraseSuggester fromModule(QByteArrayView module);
    // The same, from a file or resource; without words when it cannot be read.
    static PhraseSuggester fromFile(const QString &path);

    bool isReady() const { return !m_words.isEmpty(); }
    const QStringList &words() const { return m_words; }

    // Six words separated by single spaces; empty when there are no words or the generator
    // fails.
    QString suggest(const RandomSource &random = secureRandom) const;

    static std::optional<QByteArray> secureRandom(qsizetype count);
    // An index below `bound` (1 to 65 536), every one equally likely: two random bytes
    // at a time, drawn again while they fall into the incomplete range at the top.
    static std::optional<int> uniformIndex(int bound, const RandomSource &random);

private:
    QStringList m_words;
};

} // namespace furrow
