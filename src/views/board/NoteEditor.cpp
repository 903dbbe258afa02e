#include "views/board/NoteEditor.h"

#include "views/board/InlineField.h"
#include "views/theme/Theme.h"

#include <QKeyEvent>
#include <QTextBlock>

namespace furrow {

NoteEditor::NoteEditor(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setFont(Theme::small());
    setPlaceholderText(QStringLiteral("Note or link"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    document()->setDocumentMargin(0);
    viewport()->setAutoFillBackground(false);
    QPalette colors = palette();
    colors.setColor(QPalette::Base, Qt::transparent);
    colors.setColor(QPalette::Text, Theme::ink);
    colors.setColor(QPalette::PlaceholderText, Theme::line);
    setPalette(colors);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(document(), &QTextDocument::contentsChanged, this, &NoteEditor::fitHeight);
    fitHeight();
}

void NoteEditor::fitHeight()
{
    int lines = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        lines += std::max(1, block.layout() ? block.layout()->lineCount() : 1);
    m_lines = std::clamp(lines, 1, kMaxLines);
    const QFontMetrics metrics(font());
    setFixedHeight(m_lines * metrics.lineSpacing() + 4);
}

void NoteEditor::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    // A new width rewraps the lines.
    fitHeight();
}

void NoteEditor::keyPressEvent(QKeyEvent *event)
{
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (isReturn && (event->modifiers() & Qt::ShiftModifier)) {
        // A plain new line, not the line separator Qt inserts for Shift+Return.
        textCursor().insertBlock();
        return;
    }
    if (!InlineField::endsEditing(*this, *event))
        QPlainTextEdit::keyPressEvent(event);
}

void NoteEditor::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    if (InlineField::losesFocusForGood(event))
        Q_EMIT focusLost();
}

} // namespace furrow
