#include "views/board/TaskRowAccessible.h"

#include "views/board/TaskRow.h"

namespace furrow {

TaskRowAccessible::TaskRowAccessible(TaskRow *row)
    : QAccessibleWidget(row, QAccessible::ListItem)
{}

QAccessibleInterface *TaskRowAccessible::make(const QString &, QObject *object)
{
    if (auto *row = qobject_cast<TaskRow *>(object))
        return new TaskRowAccessible(row);
    return nullptr;
}

TaskRow *TaskRowAccessible::row() const
{
    return static_cast<TaskRow *>(widget());
}

QString TaskRowAccessible::text(QAccessible::Text kind) const
{
    const RowContent &content = row()->content();
    if (kind == QAccessible::Name)
        return content.title;
    if (kind == QAccessible::Description) {
        QStringList parts;
        if (content.hasProject)
            parts << QStringLiteral("Project %1").arg(content.projectName);
        if (!content.dueText.isEmpty())
            parts << (content.overdue ? QStringLiteral("Due %1, overdue")
                                      : QStringLiteral("Due %1"))
                         .arg(content.dueText);
        if (!content.repeatWords.isEmpty())
            parts << content.repeatWords;
        if (content.hasNote())
            parts << QStringLiteral("Has a note");
        return parts.join(QStringLiteral(", "));
    }
    return QAccessibleWidget::text(kind);
}

QAccessible::State TaskRowAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.checkable = true;
    state.checked = row()->content().done;
    state.selectable = true;
    return state;
}

QStringList TaskRowAccessible::actionNames() const
{
    return QAccessibleWidget::actionNames() << toggleAction();
}

void TaskRowAccessible::doAction(const QString &actionName)
{
    if (actionName == toggleAction())
        row()->toggle();
    else
        QAccessibleWidget::doAction(actionName);
}

} // namespace furrow
