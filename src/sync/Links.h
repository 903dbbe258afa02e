#pragma once

#include <QUuid>

#include <optional>
#include <vector>

namespace furrow {

class ModelContext;
class Section;
class Snapshot;
class TaskItem;

// The relationships named by the records a cycle applied. They are set only after the last
// page, so a task may arrive before its section, even in an earlier page.
class Links
{
public:
    void addSection(Section *section, std::optional<QUuid> page);
    void addTask(TaskItem *task, std::optional<QUuid> section, std::optional<QUuid> project);

    // Points every collected object at what its identifiers name. A section or page that this
    // desk does not have (its record unreadable here, or still to come) gives way to the place
    // where new tasks go, so that nothing lands where no page shows it; no identifier at all
    // clears the relationship.
    void resolve(const Snapshot &snapshot, ModelContext &context) const;

private:
    struct SectionLink
    {
        Section *section;
        std::optional<QUuid> page;
    };
    struct TaskLink
    {
        TaskItem *task;
        std::optional<QUuid> section;
        std::optional<QUuid> project;
    };

    std::vector<SectionLink> m_sections;
    std::vector<TaskLink> m_tasks;
};

} // namespace furrow
