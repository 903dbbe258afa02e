#pragma once

#include <QList>
#include <QWidget>

class QVBoxLayout;

namespace furrow {

class GoalCard;
class GoalsEditor;
class VectorStore;

// What the main window shows for the sidebar's goals entry: the quarter's goals as cards
// under the question the day is measured against, an invitation while none is set, and the
// form that edits all three at once.
class GoalsPage : public QWidget
{
    Q_OBJECT

public:
    enum class State { Invitation, Cards, Editor };

    explicit GoalsPage(VectorStore &store, QWidget *parent = nullptr);

    State state() const { return m_state; }

    // Opens the form on copies of all three goals, empty ones included.
    void beginEditing();
    // Stores every draft in slot order, then closes the form.
    void finishEditing();
    // Closes the form and drops the drafts.
    void cancelEditing();

    QList<GoalCard *> cards() const;

private:
    QWidget *buildHeader();
    void showState();
    QWidget *buildInvitation();
    QWidget *buildCards();
    QWidget *buildEditor();

    VectorStore &m_store;
    State m_state = State::Invitation;
    bool m_editing = false;
    bool m_storing = false;
    QVBoxLayout *m_column;
    QWidget *m_body = nullptr;
    GoalsEditor *m_editor = nullptr;
};

} // namespace furrow
