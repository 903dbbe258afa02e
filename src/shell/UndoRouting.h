#pragma once

#include <QObject>

namespace furrow {

class ModelContext;

// Routes Undo and Redo: a text field being edited undoes its own typing first; otherwise the
// planner's history steps back or forward and the store saves. Installed on the application, it
// also lets the Undo shortcut reach the planner while the focused field has nothing of its own
// to undo (a text field would otherwise swallow the key).
class UndoRouting : public QObject
{
    Q_OBJECT

public:
    explicit UndoRouting(ModelContext &context, QObject *parent = nullptr);

    void undo();
    void redo();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ModelContext &m_context;
};

} // namespace furrow
