#include "LiveRecords.h"

#include <algorithm>

namespace furrow {

namespace {

template<class T, class Keep>
std::vector<T *> filtered(const std::vector<T *> &rows, Keep keep)
{
    std::vector<T *> result;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(result), keep);
    return result;
}

bool isLive(const auto *row)
{
    return !row->deletedAt();
}

} // namespace

std::vector<Page *> live(const std::vector<Page *> &pages)
{
    auto result = filtered(pages, [](const Page *page) { return isLive(page); });
    sortByOrder(result);
    return result;
}

std::vector<Section *> live(const std::vector<Section *> &sections)
{
    auto result = filtered(sections, [](const Section *section) { return isLive(section); });
    sortByOrder(result);
    return result;
}

std::vector<Section *> liveOn(const std::vector<Section *> &sections, const Page *page)
{
    return filtered(live(sections), [page](const Section *section) {
        const Page *own = section->page();
        return page ? own && own->id() == page->id() : !own;
    });
}

std::vector<TaskItem *> active(const std::vector<TaskItem *> &tasks)
{
    return filtered(tasks, [](const TaskItem *task) { return task->isActive(); });
}

std::vector<TaskItem *> archived(const std::vector<TaskItem *> &tasks)
{
    return filtered(tasks, [](const TaskItem *task) { return isLive(task) && task->isArchived(); });
}

std::vector<Project *> live(const std::vector<Project *> &projects)
{
    return filtered(projects, [](const Project *project) { return isLive(project); });
}

} // namespace furrow
