#pragma once

#include <QAccessibleWidget>

namespace furrow {

class TaskRow;

// What a screen reader is told of a task row: a list item named by the task's title, checkable
// and checked once done, described by its project and due label, with a toggle action that
// closes or reopens the task. The focus that Up and Down move between rows is reported by Qt.
class TaskRowAccessible : public QAccessibleWidget
{
public:
    explicit TaskRowAccessible(TaskRow *row);

    // Makes the interface for task rows; installed once as a QAccessible factory.
    static QAccessibleInterface *make(const QString &className, QObject *object);

    QString text(QAccessible::Text kind) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

private:
    TaskRow *row() const;
};

} // namespace furrow
