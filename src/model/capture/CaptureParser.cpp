#include "CaptureParser.h"

#include "DuePhrases.h"
#include "RepeatPhrases.h"
#include "model/InlineSyntax.h"
#include "model/TextUnits.h"

#include <QRegularExpression>

#include <algorithm>

namespace furrow::CaptureParser {

namespace {

TakenRange rangeOf(const CaptureWords &words, qsizetype first, qsizetype last,
                   TakenRange::Kind kind)
{
    return {kind, words[first].start, words[last].coreEnd - words[first].start};
}

bool isRefused(const CaptureWords &words, const TakenRange &range, const CaptureContext &context)
{
    return !context.refused.isEmpty() && context.refused.contains(phraseText(words.text(), range));
}

// The quoted form "#"name"" when it names a project, else the first hash word that does.
void readProject(CaptureWords &words, const CaptureContext &context, CaptureReading &reading)
{
    if (!context.namesProject)
        return;
    static const QRegularExpression quoted(QStringLiteral("#\"[^\"]+\""));
    const QString &text = words.text();
    if (const QRegularExpressionMatch match = quoted.match(text); match.hasMatch()) {
        const QString token = match.captured().mid(2, match.capturedLength() - 3);
        const TakenRange range{TakenRange::Kind::Project, match.capturedStart(),
                               match.capturedLength()};
        if (!isRefused(words, range, context) && context.namesProject(token)) {
            reading.projectToken = token;
            reading.taken.push_back(range);
            return;
        }
    }
    for (qsizetype i = 0; i < words.size(); ++i) {
        const CaptureWords::Word &word = words[i];
        const QString whole = text.mid(word.start, word.end - word.start);
        if (word.quoted || !TextUnits::startsWithCharacter(whole, u'#')
            || TextUnits::characterCount(whole) < 2)
            continue;
        const TakenRange range{TakenRange::Kind::Project, word.start, word.end - word.start};
        if (!isRefused(words, range, context)
            && context.namesProject(TextUnits::dropFirstCharacter(whole))) {
            reading.projectToken = TextUnits::dropFirstCharacter(whole);
            reading.taken.push_back(range);
            words.markTaken(i, i);
            return;
        }
    }
}

// The first repeat phrase.
void readRepeat(CaptureWords &words, const CaptureContext &context, CaptureReading &reading)
{
    for (qsizetype i = 0; i < words.size(); ++i) {
        const auto match = RepeatPhrases::matchAt(words, i);
        if (!match)
            continue;
        const TakenRange range
            = rangeOf(words, match->first, match->last, TakenRange::Kind::Repeat);
        if (isRefused(words, range, context)) {
            // A phrase kept as text is text as a whole: "every mon, wed" does not leave "wed".
            words.markTaken(match->first, match->last);
            i = match->last;
            continue;
        }
        reading.repeatRule = match->rule;
        reading.repeatFromDone = match->fromDone;
        reading.taken.push_back(range);
        words.markTaken(match->first, match->last);
        return;
    }
}

// The last due phrase; earlier ones stay text.
void readDue(CaptureWords &words, const CaptureContext &context, CaptureReading &reading)
{
    std::optional<DuePhrases::Match> chosen;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const auto match = DuePhrases::matchAt(words, i, context.today, context.dayBeforeMonth);
        if (!match)
            continue;
        i = match->last;
        if (!isRefused(words, rangeOf(words, match->first, match->last, TakenRange::Kind::Due),
                       context))
            chosen = match;
    }
    if (!chosen)
        return;
    reading.dueDay = chosen->day;
    reading.taken.push_back(rangeOf(words, chosen->first, chosen->last, TakenRange::Kind::Due));
    words.markTaken(chosen->first, chosen->last);
}

bool isPunctuation(QChar c)
{
    return c == u',' || c == u'.' || c == u';' || c == u':' || c == u'!' || c == u'?';
}

// The text without the taken ranges; a gap followed by punctuation loses the space before it,
// so "call tomorrow, then" becomes "call, then".
QString withoutTaken(const QString &text, const std::vector<TakenRange> &taken)
{
    QString result;
    qsizetype from = 0;
    for (const TakenRange &range : taken) {
        result += QStringView(text).mid(from, range.start - from);
        from = range.end();
        if (from == text.size() || !isPunctuation(text[from]))
            continue;
        while (!result.isEmpty() && result.back() == u' ')
            result.chop(1);
        // "Tomorrow: call" loses the colon too when nothing stood before it.
        while (result.isEmpty() && from < text.size() && isPunctuation(text[from]))
            ++from;
    }
    result += QStringView(text).mid(from);
    return result;
}

} // namespace

CaptureReading read(const QString &text, const CaptureContext &context)
{
    CaptureReading reading;
    CaptureWords words(text);
    readProject(words, context, reading);
    if (context.readDates) {
        readRepeat(words, context, reading);
        readDue(words, context, reading);
        if (!reading.dueDay && !reading.repeatRule.isEmpty())
            reading.dueDay = RepeatPhrases::firstDay(reading.repeatRule, context.today);
    }
    std::sort(reading.taken.begin(), reading.taken.end(),
              [](const TakenRange &a, const TakenRange &b) { return a.start < b.start; });
    // Line breaks read as spaces, so that the taken ranges keep the positions of the text given.
    const QStringList kept
        = InlineSyntax::oneLine(withoutTaken(text, reading.taken)).split(u' ', Qt::SkipEmptyParts);
    reading.title = kept.join(u' ').trimmed();
    return reading;
}

QStringList lines(const QString &text)
{
    static const QRegularExpression lineBreak(
        QStringLiteral("\\r\\n|[\\n\\r\\x{000B}\\x{000C}\\x{0085}\\x{2028}\\x{2029}]"));
    QStringList result;
    for (const QString &line : text.split(lineBreak)) {
        if (!line.trimmed().isEmpty())
            result << line;
    }
    return result;
}

QString phraseText(const QString &text, const TakenRange &range)
{
    return text.mid(range.start, range.length).toLower();
}

} // namespace furrow::CaptureParser
