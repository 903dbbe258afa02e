#include "PlannerStore.h"

#include "LiveRecords.h"

#include <unordered_map>

namespace furrow {

namespace {

// The row with that id among `rows` that `accept` takes, or null.
template<class T, class Accept>
T *findById(const std::vector<std::shared_ptr<T>> &rows, const QUuid &id, Accept accept)
{
    if (id.isNull())
        return nullptr;
    for (const auto &row : rows) {
        if (row->id() == id && accept(*row))
            return row.get();
    }
    return nullptr;
}

} // namespace

TaskItem *PlannerStore::task(const QUuid &id) const
{
    return findById(m_context.rows<TaskItem>(), id,
                    [](const TaskItem &task) { return !task.deletedAt(); });
}

Section *PlannerStore::liveSection(const QUuid &id) const
{
    return findById(m_context.rows<Section>(), id,
                    [](const Section &section) { return section.isLive(); });
}

Page *PlannerStore::livePage(const QUuid &id) const
{
    return findById(m_context.rows<Page>(), id, [](const Page &page) { return page.isLive(); });
}

std::vector<Page *> PlannerStore::pages() const
{
    return livePages();
}

std::vector<Section *> PlannerStore::sections(const Page *page) const
{
    return page ? liveOn(m_context.fetchAll<Section>(), page) : std::vector<Section *>();
}

Section *PlannerStore::fallbackSection() const
{
    const auto sections = m_context.fetchAll<Section>();
    for (const Page *page : livePages()) {
        if (const auto onPage = liveOn(sections, page); !onPage.empty())
            return onPage.front();
    }
    return nullptr;
}

QHash<QUuid, qint64> PlannerStore::openCounts() const
{
    // Counted by section in the one pass over the tasks, then summed by page.
    std::unordered_map<const Section *, qint64> bySection;
    for (const auto &task : m_context.rows<TaskItem>()) {
        if (task->isActive() && !task->isDone() && task->section())
            ++bySection[task->section()];
    }
    QHash<QUuid, qint64> counts;
    for (const auto &[section, count] : bySection) {
        if (section->isLive() && section->page() && section->page()->isLive())
            counts[section->page()->id()] += count;
    }
    return counts;
}

Page *PlannerStore::runHousekeeping()
{
    purgeTombstones(30);
    purgeArchive(30);
    normalizeProjectColors();
    Page *starter = ensureStarterPage();
    stampToday();
    save();
    return starter;
}

} // namespace furrow
