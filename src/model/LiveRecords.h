#pragma once

#include "Page.h"
#include "Project.h"
#include "Section.h"
#include "TaskItem.h"

#include <algorithm>
#include <vector>

namespace furrow {

// Filters that views apply to the record lists they read. Pure functions; sorts are stable.

// Pages without tombstone, by order.
std::vector<Page *> live(const std::vector<Page *> &pages);
// Sections without tombstone, by order.
std::vector<Section *> live(const std::vector<Section *> &sections);
// The live sections of one page, compared by id; no page matches sections without a page.
std::vector<Section *> liveOn(const std::vector<Section *> &sections, const Page *page);
// Tasks neither archived nor tombstoned, in input order.
std::vector<TaskItem *> active(const std::vector<TaskItem *> &tasks);
// Archived tasks without tombstone, in input order.
std::vector<TaskItem *> archived(const std::vector<TaskItem *> &tasks);
// Projects without tombstone, in input order.
std::vector<Project *> live(const std::vector<Project *> &projects);

// Stable sort by the `order` key.
template<class T>
void sortByOrder(std::vector<T *> &rows)
{
    std::stable_sort(rows.begin(), rows.end(),
                     [](const T *a, const T *b) { return a->order() < b->order(); });
}

// One more than the largest `order` of the rows; 0 when there are none.
template<class T>
qint64 orderAfter(const std::vector<T *> &rows)
{
    if (rows.empty())
        return 0;
    const auto largest = std::max_element(
        rows.begin(), rows.end(), [](const T *a, const T *b) { return a->order() < b->order(); });
    return (*largest)->order() + 1;
}

} // namespace furrow
