#include "views/board/NoteText.h"

#include "views/theme/Theme.h"

#include <QAbstractTextDocumentLayout>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QPainter>
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
    : QWidget(parent)
{
    setFont(Theme::small());
    setMouseTracking(true);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    m_document.setDocumentMargin(0);
    m_heights.fill({-1, 0});
}

void NoteText::setNote(const QString &note)
{
    if (note == m_note && !m_document.isEmpty())
        return;
    m_note = note;
    render(m_document, note);
    m_laidOutWidth = -1;
    m_heights.fill({-1, 0});
    setAccessibleName(m_document.toPlainText());
    updateGeometry();
    update();
}

void NoteText::render(QTextDocument &document, const QString &note)
{
    document.setDefaultFont(Theme::small());
    document.setMarkdown(inlineOnly(note),
                         QTextDocument::MarkdownFeatures(QTextDocument::MarkdownDialectGitHub
                                                         | QTextDocument::MarkdownNoHTML));
    QTextCharFormat linkFormat;
    linkFormat.setForeground(Theme::pine);
    linkFormat.setFontUnderline(true);
    QTextBlockFormat tight;
    tight.setTopMargin(0);
    tight.setBottomMargin(0);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextCursor(block).mergeBlockFormat(tight);
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
}

QString NoteText::renderedHtml(const QString &note)
{
    QTextDocument document;
    render(document, note);
    return document.toHtml();
}

bool NoteText::isOpenableLink(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid()
           && (scheme == QLatin1String("https") || scheme == QLatin1String("http")
               || scheme == QLatin1String("mailto"));
}

void NoteText::layoutFor(qreal width) const
{
    if (width != m_laidOutWidth) {
        m_document.setTextWidth(width);
        m_laidOutWidth = width;
    }
}

int NoteText::heightForWidth(int width) const
{
    for (const auto &[knownWidth, height] : m_heights) {
        if (knownWidth == width)
            return height;
    }
    layoutFor(width);
    const int height = qCeil(m_document.size().height());
    m_heights[m_nextHeight] = {width, height};
    m_nextHeight = (m_nextHeight + 1) % m_heights.size();
    return height;
}

QSize NoteText::sizeHint() const
{
    const int width = qCeil(std::min<qreal>(m_document.idealWidth(), 480));
    return {width, heightForWidth(width)};
}

QString NoteText::linkAt(const QPoint &position) const
{
    layoutFor(width());
    return m_document.documentLayout()->anchorAt(position);
}

void NoteText::paintEvent(QPaintEvent *)
{
    layoutFor(width());
    QPainter painter(this);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette = palette();
    context.palette.setColor(QPalette::Text, Theme::gray);
    m_document.documentLayout()->draw(&painter, context);
}

void NoteText::mouseMoveEvent(QMouseEvent *event)
{
    setCursor(linkAt(event->position().toPoint()).isEmpty() ? Qt::ArrowCursor
                                                            : Qt::PointingHandCursor);
    QWidget::mouseMoveEvent(event);
}

void NoteText::mousePressEvent(QMouseEvent *event)
{
    m_pressedLink = linkAt(event->position().toPoint());
    if (m_pressedLink.isEmpty())
        QWidget::mousePressEvent(event);
}

void NoteText::mouseReleaseEvent(QMouseEvent *event)
{
    const QString link = std::exchange(m_pressedLink, {});
    if (link.isEmpty() || link != linkAt(event->position().toPoint())) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const QUrl url(link);
    if (isOpenableLink(url))
        QDesktopServices::openUrl(url);
}

void NoteText::mouseDoubleClickEvent(QMouseEvent *)
{
    Q_EMIT editRequested();
}

} // namespace furrow
