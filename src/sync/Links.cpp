#include "Links.h"

#include "Snapshot.h"
#include "model/Section.h"
#include "model/TaskItem.h"

namespace furrow {

void Links::addSection(Section *section, std::optional<QUuid> page)
{
    m_sections.push_back({section, page});
}

void Links::addTask(TaskItem *task, std::optional<QUuid> section, std::optional<QUuid> project)
{
    m_tasks.push_back({task, section, project});
}

void Links::resolve(const Snapshot &snapshot) const
{
    for (const SectionLink &link : m_sections)
        link.section->setPage(link.page ? snapshot.page(*link.page) : nullptr);
    for (const TaskLink &link : m_tasks) {
        link.task->setSection(link.section ? snapshot.section(*link.section) : nullptr);
        link.task->setProject(link.project ? snapshot.project(*link.project) : nullptr);
    }
}

} // namespace furrow
