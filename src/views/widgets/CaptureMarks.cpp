#include "views/widgets/CaptureMarks.h"

#include "model/capture/CaptureParser.h"
#include "views/theme/Theme.h"
#include "views/widgets/CaptureSummary.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCharFormat>

namespace furrow {

namespace {

QTextCharFormat tint()
{
    QTextCharFormat format;
    format.setBackground(Theme::withOpacity(Theme::bright, 0.6));
    return format;
}

} // namespace

CaptureMarks::CaptureMarks(QWidget *field, Reader reader)
    : QObject(field)
    , m_field(field)
    , m_reader(std::move(reader))
{
    setObjectName(QStringLiteral("captureMarks"));
    field->installEventFilter(this);
}

CaptureMarks::CaptureMarks(QLineEdit *field, Reader reader)
    : CaptureMarks(static_cast<QWidget *>(field), std::move(reader))
{
    connect(field, &QLineEdit::textChanged, this, &CaptureMarks::followText);
    refresh();
}

CaptureMarks::CaptureMarks(QPlainTextEdit *field, Reader reader)
    : CaptureMarks(static_cast<QWidget *>(field), std::move(reader))
{
    connect(field, &QPlainTextEdit::textChanged, this, &CaptureMarks::followText);
    refresh();
}

QString CaptureMarks::text() const
{
    if (auto *line = qobject_cast<QLineEdit *>(m_field))
        return line->text();
    return static_cast<QPlainTextEdit *>(m_field)->toPlainText();
}

int CaptureMarks::cursorPosition() const
{
    if (auto *line = qobject_cast<QLineEdit *>(m_field))
        return line->cursorPosition();
    return static_cast<QPlainTextEdit *>(m_field)->textCursor().position();
}

bool CaptureMarks::hasSelection() const
{
    if (auto *line = qobject_cast<QLineEdit *>(m_field))
        return line->hasSelectedText();
    return static_cast<QPlainTextEdit *>(m_field)->textCursor().hasSelection();
}

void CaptureMarks::followText()
{
    if (text().isEmpty())
        m_refused.clear(); // an emptied field starts a new capture
    refresh();
}

void CaptureMarks::refresh()
{
    m_reading = m_reader(text(), m_refused);
    m_field->setAccessibleDescription(CaptureSummary::describe(m_reading));
    paint();
    Q_EMIT readingChanged();
}

void CaptureMarks::keepDatesAsText()
{
    for (const TakenRange &range : m_reading.taken) {
        if (range.kind != TakenRange::Kind::Project)
            m_refused << CaptureParser::phraseText(text(), range);
    }
    refresh();
}

bool CaptureMarks::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_field || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->matches(QKeySequence::Undo))
        return refuseLast();
    if (key->key() == Qt::Key_Backspace && key->modifiers() == Qt::NoModifier && !hasSelection())
        return refuseBeforeCursor();
    return false;
}

bool CaptureMarks::refuseBeforeCursor()
{
    for (const TakenRange &range : m_reading.taken) {
        if (range.end() == cursorPosition()) {
            refuse(range);
            return true;
        }
    }
    return false;
}

bool CaptureMarks::refuseLast()
{
    if (m_reading.taken.empty())
        return false;
    refuse(m_reading.taken.back());
    return true;
}

void CaptureMarks::refuse(const TakenRange &range)
{
    m_refused << CaptureParser::phraseText(text(), range);
    refresh();
}

void CaptureMarks::paint()
{
    if (auto *line = qobject_cast<QLineEdit *>(m_field))
        paintInLine(line);
    else
        paintInEditor(static_cast<QPlainTextEdit *>(m_field));
}

void CaptureMarks::paintInLine(QLineEdit *line)
{
    // QLineEdit draws formats only as input-method attributes, placed relative to the cursor.
    QList<QInputMethodEvent::Attribute> attributes;
    for (const TakenRange &range : m_reading.taken)
        attributes << QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat,
                                                   int(range.start - line->cursorPosition()),
                                                   int(range.length), tint());
    QInputMethodEvent event(QString(), attributes);
    QCoreApplication::sendEvent(line, &event);
}

void CaptureMarks::paintInEditor(QPlainTextEdit *editor)
{
    QList<QTextEdit::ExtraSelection> selections;
    for (const TakenRange &range : m_reading.taken) {
        QTextEdit::ExtraSelection selection;
        selection.cursor = QTextCursor(editor->document());
        selection.cursor.setPosition(int(range.start));
        selection.cursor.setPosition(int(range.end()), QTextCursor::KeepAnchor);
        selection.format = tint();
        selections << selection;
    }
    editor->setExtraSelections(selections);
}

} // namespace furrow
