#include "UndoRouting.h"

#include "model/PlannerStore.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace furrow {

namespace {

enum class Direction { Undo, Redo };

// The focused text field's own history, if a text field has focus: whether it can go that way,
// and how.
struct TextHistory
{
    bool available = false;
    std::function<void()> step;
};

std::optional<TextHistory> focusedTextHistory(Direction direction)
{
    QWidget *focus = QApplication::focusWidget();
    const bool undo = direction == Direction::Undo;
    if (auto *line = qobject_cast<QLineEdit *>(focus)) {
        if (line->isReadOnly())
            return std::nullopt;
        return TextHistory{undo ? line->isUndoAvailable() : line->isRedoAvailable(), [line, undo] {
                               undo ? line->undo() : line->redo();
                           }};
    }
    QTextDocument *document = nullptr;
    if (auto *text = qobject_cast<QTextEdit *>(focus); text && !text->isReadOnly())
        document = text->document();
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(focus); plain && !plain->isReadOnly())
        document = plain->document();
    if (!document)
        return std::nullopt;
    return TextHistory{undo ? document->isUndoAvailable() : document->isRedoAvailable(),
                       [document, undo] {
                           undo ? document->undo() : document->redo();
                       }};
}

void route(Direction direction, ModelContext &context)
{
    if (const auto text = focusedTextHistory(direction); text && text->available) {
        text->step();
        return;
    }
    PlannerStore store(context);
    if (direction == Direction::Undo)
        store.undo();
    else
        store.redo();
}

} // namespace

UndoRouting::UndoRouting(ModelContext &context, QObject *parent)
    : QObject(parent)
    , m_context(context)
{}

void UndoRouting::undo()
{
    route(Direction::Undo, m_context);
}

void UndoRouting::redo()
{
    route(Direction::Redo, m_context);
}

bool UndoRouting::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool isUndo = key->matches(QKeySequence::Undo);
        const bool isRedo = key->matches(QKeySequence::Redo);
        if (isUndo || isRedo) {
            const auto text = focusedTextHistory(isUndo ? Direction::Undo : Direction::Redo);
            // Leaving the override unaccepted lets the application's Undo shortcut run.
            if (text && !text->available)
                return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace furrow
