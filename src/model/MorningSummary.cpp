#include "MorningSummary.h"

#include "Calendar.h"
#include "Page.h"
#include "PlannerStore.h"
#include "TaskItem.h"

namespace furrow {

std::optional<MorningSummary> MorningSummary::of(const PlannerStore &store, Instant now)
{
    MorningSummary summary;
    for (const Page *page : store.pages()) {
        for (const Section *section : store.sections(page)) {
            for (const TaskItem *task : store.tasks(section)) {
                if (!task->dueDate())
                    continue;
                const bool today = Calendar::isSameDay(*task->dueDate(), now);
                const bool overdue = !today && *task->dueDate() < Calendar::startOfDay(now);
                if (!today && !overdue)
                    continue;
                (today ? summary.dueToday : summary.overdue) += 1;
                if (summary.firstPageId.isNull())
                    summary.firstPageId = page->id();
                if (summary.titles.size() < kTitlesShown)
                    summary.titles.append(task->title());
            }
        }
    }
    if (summary.dueToday == 0 && summary.overdue == 0)
        return std::nullopt;
    return summary;
}

QString MorningSummary::title() const
{
    return QStringLiteral("%1 due today · %2 overdue").arg(dueToday).arg(overdue);
}

} // namespace furrow
