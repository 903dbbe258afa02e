#include "PhraseSuggester.h"

#include "CryptoPrimitives.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <map>

namespace furrow {

PhraseSuggester PhraseSuggester::fromModule(QByteArrayView module)
{
    static const QRegularExpression entry(
        QStringLiteral(R"(^\s*'([1-6]{5})'\s*:\s*'([a-z][a-z-]*)',?\s*$)"),
        QRegularExpression::MultilineOption);
    std::map<QString, QString> byNumber;
    QSet<QString> distinct;
    for (const QRegularExpressionMatch &match :
         entry.globalMatch(QString::fromUtf8(module.data(), module.size()))) {
        byNumber[match.captured(1)] = match.captured(2);
        distinct.insert(match.captured(2));
    }
    PhraseSuggester suggester;
    if (byNumber.size() != kListSize || distinct.size() != kListSize)
        return suggester;
    for (const auto &[number, word] : byNumber)
        suggester.m_words.append(word);
    return suggester;
}

PhraseSuggester PhraseSuggester::fromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return fromModule(file.readAll());
}

QString PhraseSuggester::suggest(const RandomSource &random) const
{
    if (!isReady())
        return {};
    QStringList phrase;
    for (int n = 0; n < kWords; ++n) {
        const std::optional<int> index = uniformIndex(int(m_words.size()), random);
        if (!index)
            return {};
        phrase.append(m_words.at(*index));
    }
    return phrase.join(u' ');
}

std::optional<QByteArray> PhraseSuggester::secureRandom(qsizetype count)
{
    return CryptoPrimitives::randomBytes(count);
}

std::optional<int> PhraseSuggester::uniformIndex(int bound, const RandomSource &random)
{
    constexpr int range = 0x10000;
    if (bound < 1 || bound > range)
        return std::nullopt;
    // The largest multiple of `bound` in the range: values from it up would favour the low
    // indices.
    const int limit = range - range % bound;
    for (;;) {
        const std::optional<QByteArray> bytes = random(2);
        if (!bytes || bytes->size() != 2)
            return std::nullopt;
        const int value = (uchar(bytes->at(0)) << 8) | uchar(bytes->at(1));
        if (value < limit)
            return value % bound;
    }
}

} // namespace furrow
