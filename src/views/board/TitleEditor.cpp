#include "views/board/TitleEditor.h"

#include "views/board/InlineField.h"
#include "views/theme/Theme.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextLayout>
#include <QtMath>

namespace furrow {

TitleEditor::TitleEditor(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setFont(Theme::taskQuick());
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // As the title breaks its lines: between words, and inside a word too long for a line.
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document()->setDocumentMargin(0);
    viewport()->setAutoFillBackground(false);
    QPalette colors = palette();
    colors.setColor(QPalette::Base, Qt::transparent);
    colors.setColor(QPalette::Text, Theme::ink);
    setPalette(colors);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(document(), &QTextDocument::contentsChanged, this, &TitleEditor::fitHeight);
    fitHeight();
}

void TitleEditor::setText(const QString &text)
{
    setPlainText(text);
}

void TitleEditor::setCursorPosition(int position)
{
    QTextCursor cursor = textCursor();
    const int end = document()->characterCount() - 1;
    cursor.setPosition(position >= 0 && position <= end ? position : end);
    setTextCursor(cursor);
}

int TitleEditor::lineCount() const
{
    const QTextLayout *layout = document()->firstBlock().layout();
    return layout ? std::max(1, layout->lineCount()) : 1;
}

void TitleEditor::fitHeight()
{
    // The lines' own heights, as the title adds them up, so the row does not change height.
    qreal height = 0;
    if (const QTextLayout *layout = document()->firstBlock().layout()) {
        for (int i = 0; i < layout->lineCount(); ++i)
            height += layout->lineAt(i).height();
    }
    setFixedHeight(qCeil(std::max(height, QFontMetricsF(font()).height())));
}

void TitleEditor::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    // A new width rewraps the lines.
    fitHeight();
}

void TitleEditor::keyPressEvent(QKeyEvent *event)
{
    if (!InlineField::endsEditing(*this, *event))
        QPlainTextEdit::keyPressEvent(event);
}

void TitleEditor::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    if (InlineField::losesFocusForGood(event))
        Q_EMIT focusLost();
}

void TitleEditor::insertFromMimeData(const QMimeData *source)
{
    if (!source || !source->hasText())
        return;
    QString text = source->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(u'\n', u' ').replace(u'\r', u' ');
    textCursor().insertText(text);
}

} // namespace furrow
