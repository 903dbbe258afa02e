#include "InlineSyntax.h"

#include "TextUnits.h"

#include <QRegularExpression>
#include <QStringList>

namespace furrow::InlineSyntax {

namespace {

bool isProjectWord(const QString &word)
{
    return TextUnits::startsWithCharacter(word, u'#') && TextUnits::characterCount(word) >= 2;
}

} // namespace

QString oneLine(const QString &text)
{
    static const QRegularExpression lineBreak(
        QStringLiteral("\\r\\n|[\\n\\r\\x{000B}\\x{000C}\\x{0085}\\x{2028}\\x{2029}]"));
    QString result = text;
    return result.replace(lineBreak, QStringLiteral(" "));
}

Parsed parse(const QString &text)
{
    static const QRegularExpression quoted(QStringLiteral("#\"[^\"]+\""));

    Parsed result;
    QString remaining = text;
    if (const QRegularExpressionMatch match = quoted.match(text); match.hasMatch()) {
        const QString matched = match.captured();
        result.projectToken = matched.mid(2, matched.size() - 3);
        remaining = text.left(match.capturedStart()) + text.mid(match.capturedEnd());
    }

    QStringList kept;
    for (const QString &word : remaining.split(u' ', Qt::SkipEmptyParts)) {
        if (!isProjectWord(word)) {
            kept.append(word);
            continue;
        }
        if (!result.projectToken)
            result.projectToken = TextUnits::dropFirstCharacter(word);
    }
    result.title = kept.join(u' ').trimmed();
    return result;
}

QString compose(const QString &title, const std::optional<QString> &projectName)
{
    if (!projectName || projectName->isEmpty())
        return title;
    const QString token = projectName->contains(u' ') ? QStringLiteral("#\"") + *projectName + u'"'
                                                      : u'#' + *projectName;
    return title + u' ' + token;
}

std::optional<QString> trailingProjectFragment(const QString &text)
{
    const QString last = text.split(u' ').constLast();
    if (!TextUnits::startsWithCharacter(last, u'#'))
        return std::nullopt;
    return TextUnits::dropFirstCharacter(last);
}

QString normalizedKey(const QString &text)
{
    QString key = text.toLower();
    key.replace(u'-', u' ');
    key.replace(u'_', u' ');
    return TextUnits::trimmedOfSpacesAndTabs(key);
}

} // namespace furrow::InlineSyntax
