#include "views/board/NoteText.h"

#include "views/theme/Theme.h"

#include <QDesktopServices>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace furrow {

namespace {

// Whether a line, leading spaces removed, would open a heading, list, quote, rule, fence or
// table instead of being text.
bool startsBlock(const QString &line)
{
    static const QRegularExpression block(QStringLiteral(
        "^(#{1,6}(\\s|$)|[-+*](\\s|$)|\\d{1,9}[.)](\\s|$)|>|`{3}|~{3}|\\||(\\*\\s*){3,}$|"
        "(-\\s*){3,}$|(_\\s*){3,}$|=+\\s*$)"));
    return block.match(line).hasMatch();
}

// Escapes what would make a line a block and keeps leading spaces from turning it into a code
// block, so that only inline syntax takes effect.
QString inlineOnlyLine(const QString &line)
{
    qsizetype start = 0;
    while (start < line.size() && (line[start] == u' ' || line[start] == u'\t'))
        ++start;
    const QString rest = line.mid(start);
    QString result(start, QChar(0x00A0));
    if (!startsBlock(rest))
        return result + rest;
    // An ordered list marker is escaped at its dot or parenthesis, anything else at its start.
    const qsizetype digits
        = std::find_if_not(rest.begin(), rest.end(), [](QChar c) { return c.isDigit(); })
          - rest.begin();
    return result + rest.left(digits) + u'\\' + rest.mid(digits);
}

QString inlineOnly(const QString &note)
{
    const QStringList lines = note.split(u'\n');
    QString markdown;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed().isEmpty() ? QString() : lines[i];
        markdown += inlineOnlyLine(line);
        if (i + 1 == lines.size())
            break;
        // Two trailing spaces keep a line break inside a paragraph; a blank line ends one.
        const bool blank = line.isEmpty() || lines[i + 1].trimmed().isEmpty();
        markdown += blank ? QStringLiteral("\n") : QStringLiteral("  \n");
    }
    return markdown;
}

} // namespace

NoteText::NoteText(QWidget *parent)
    : QLabel(parent)
{
    setFont(Theme::small());
    setWordWrap(true);
    setTextFormat(Qt::RichText);
    // Links take the mouse only: a tab stop in every note would make rows slow to walk.
    setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    QPalette colors = palette();
    colors.setColor(QPalette::WindowText, Theme::gray);
    colors.setColor(QPalette::Link, Theme::pine);
    setPalette(colors);
    connect(this, &QLabel::linkActivated, this, [](const QString &href) {
        const QUrl url(href);
        if (isOpenableLink(url))
            QDesktopServices::openUrl(url);
    });
}

void NoteText::setNote(const QString &note)
{
    if (note == m_note && !text().isEmpty())
        return;
    m_note = note;
    setText(renderedHtml(note));
}

QString NoteText::renderedHtml(const QString &note)
{
    QTextDocument document;
    document.setDefaultFont(Theme::small());
    document.setMarkdown(inlineOnly(note),
                         QTextDocument::MarkdownFeatures(QTextDocument::MarkdownDialectGitHub
                                                         | QTextDocument::MarkdownNoHTML));
    QTextCharFormat linkFormat;
    linkFormat.setForeground(Theme::pine);
    linkFormat.setFontUnderline(true);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isAnchor())
                continue;
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.mergeCharFormat(linkFormat);
        }
    }
    return document.toHtml();
}

bool NoteText::isOpenableLink(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid()
           && (scheme == QLatin1String("https") || scheme == QLatin1String("http")
               || scheme == QLatin1String("mailto"));
}

void NoteText::mouseDoubleClickEvent(QMouseEvent *event)
{
    QLabel::mouseDoubleClickEvent(event);
    Q_EMIT editRequested();
}

} // namespace furrow
