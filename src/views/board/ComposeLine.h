#pragma once

#include "views/board/BoardScope.h"

#include <QUuid>
#include <QWidget>

#include <vector>

class QAbstractButton;
class QLabel;

namespace furrow {

class CaptureMarks;
class InlineField;
class TaskBox;

// The last line of a section block. At rest it offers "Add task"; while its section composes
// it holds an empty dashed box and a field: Return files the text as a new task and keeps the
// line open for the next one, Escape or leaving the field discards the text.
class ComposeLine : public QWidget
{
    Q_OBJECT

public:
    ComposeLine(BoardScope scope, const QUuid &sectionId, QWidget *parent = nullptr);

    bool isComposing() const { return m_field != nullptr; }
    // The line's focusable widgets in tab order.
    std::vector<QWidget *> focusWidgets() const;

    void setCompact(bool compact);

private:
    void followComposing(const QUuid &composing);
    void open();
    void close();
    void commit();
    void cancel();

    BoardScope m_scope;
    QUuid m_sectionId;
    QAbstractButton *m_prompt;
    TaskBox *m_box;
    InlineField *m_field = nullptr;
    CaptureMarks *m_marks = nullptr;
    QLabel *m_pasted = nullptr; // "3 tasks" while the field holds several lines
};

} // namespace furrow
