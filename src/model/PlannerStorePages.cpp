// PlannerStore: pages and their sections.

#include "PlannerStore.h"

#include "Clock.h"
#include "LiveRecords.h"

namespace furrow {

Section *PlannerStore::firstSection() const
{
    const auto pages = livePages();
    if (pages.empty())
        return nullptr;
    const auto sections = liveOn(m_context.fetchAll<Section>(), pages.front());
    return sections.empty() ? nullptr : sections.front();
}

Page *PlannerStore::createPage(const QString &name, const QString &iconName)
{
    Page *page = m_context.insert(std::make_shared<Page>(name, iconName, orderAfter(livePages())));
    save();
    return page;
}

void PlannerStore::rename(Page &page, const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return;
    page.setName(trimmed);
    page.setUpdatedAt(Clock::now());
    save();
}

void PlannerStore::setIcon(const QString &iconName, Page &page)
{
    page.setIconName(iconName);
    page.setUpdatedAt(Clock::now());
    save();
}

void PlannerStore::deletePage(Page &page)
{
    const Instant now = Clock::now();
    for (Section *section : liveOn(m_context.fetchAll<Section>(), &page)) {
        section->setDeletedAt(now);
        section->setUpdatedAt(now);
        // Open tasks land in the archive as dropped; done and archived ones keep their section.
        for (TaskItem *task : tasks(section)) {
            task->setSection(nullptr);
            task->setArchivedAt(now);
            task->setUpdatedAt(now);
        }
    }
    page.setDeletedAt(now);
    page.setUpdatedAt(now);
    reindexPages();
    save();
}

void PlannerStore::reindexPages()
{
    const auto pages = livePages();
    const Instant now = Clock::now();
    for (qint64 i = 0; i < qint64(pages.size()); ++i) {
        Page *page = pages[std::size_t(i)];
        if (page->order() != i) {
            page->setOrder(i);
            page->setUpdatedAt(now);
        }
    }
}

Section *PlannerStore::createSection(const QString &name, Page &page)
{
    const auto siblings = liveOn(m_context.fetchAll<Section>(), &page);
    Section *section
        = m_context.insert(std::make_shared<Section>(name, &page, orderAfter(siblings)));
    save();
    return section;
}

void PlannerStore::rename(Section &section, const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return;
    section.setName(trimmed);
    section.setUpdatedAt(Clock::now());
    save();
}

void PlannerStore::deleteSection(Section &section)
{
    Section *successor = nullptr;
    for (Section *candidate : liveOn(m_context.fetchAll<Section>(), section.page())) {
        if (candidate->id() != section.id()) {
            successor = candidate;
            break;
        }
    }
    const Instant now = Clock::now();
    for (TaskItem *task : tasks(&section)) {
        task->setSection(successor);
        if (!successor)
            task->setArchivedAt(now);
        task->setUpdatedAt(now);
    }
    section.setDeletedAt(now);
    section.setUpdatedAt(now);
    // The moved tasks keep their keys and merge with the successor's own by them.
    if (successor)
        reindex(successor);
    save();
}

} // namespace furrow
