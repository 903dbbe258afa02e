#include "Links.h"

#include "Snapshot.h"
#include "model/PlannerStore.h"
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

namespace {

Section *sectionForNewTasks(PlannerStore &store)
{
    if (Section *section = store.fallbackSection())
        return section;
    store.insertStarterPageIfMissing();
    return store.fallbackSection();
}

} // namespace

void Links::resolve(const Snapshot &snapshot, ModelContext &context) const
{
    PlannerStore store(context);
    for (const SectionLink &link : m_sections) {
        Page *page = link.page ? snapshot.page(*link.page) : nullptr;
        if (link.page && !page && link.section->isLive())
            page = store.insertStarterPageIfMissing();
        link.section->setPage(page);
    }
    for (const TaskLink &link : m_tasks) {
        Section *section = link.section ? snapshot.section(*link.section) : nullptr;
        if (link.section && !section && !link.task->deletedAt())
            section = sectionForNewTasks(store);
        link.task->setSection(section);
        link.task->setProject(link.project ? snapshot.project(*link.project) : nullptr);
    }
}

} // namespace furrow
