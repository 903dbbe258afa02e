#include "views/board/RowContent.h"

#include "model/Project.h"
#include "model/Section.h"
#include "model/TaskItem.h"
#include "views/board/DueText.h"
#include "views/theme/Theme.h"

#include <algorithm>

namespace furrow {

bool RowContent::holdsText(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return !c.isSpace(); });
}

RowContent RowContent::of(const TaskItem &task, Instant now)
{
    RowContent content;
    content.id = task.id();
    content.sectionId = task.section() ? task.section()->id() : QUuid();
    content.title = task.title();
    content.note = task.note();
    if (const Project *project = task.project()) {
        content.hasProject = true;
        content.projectName = project->name();
        content.projectColor = Theme::colorFromHex(project->colorHex()).value_or(Theme::muted);
    }
    if (task.dueDate())
        content.dueText = DueText::label(*task.dueDate(), now);
    content.overdue = task.isOverdue();
    content.reminderPending = !task.isDone() && task.remindAt() && *task.remindAt() > now;
    content.done = task.isDone();
    return content;
}

} // namespace furrow
