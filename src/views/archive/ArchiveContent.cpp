#include "views/archive/ArchiveContent.h"

#include "model/Calendar.h"
#include "model/LiveRecords.h"
#include "model/PlannerStore.h"

#include <QDateTime>
#include <QLocale>

namespace furrow::ArchiveContent {

std::vector<DayGroup> doneByDay(ModelContext &context)
{
    std::vector<TaskItem *> done;
    for (TaskItem *task : PlannerStore(context).archivedTasks()) {
        if (task->isDone())
            done.push_back(task);
    }
    const auto closedAt = [](const TaskItem *task) {
        return task->doneAt().value_or(distantPast());
    };
    std::stable_sort(done.begin(), done.end(), [&](const TaskItem *a, const TaskItem *b) {
        return closedAt(a) < closedAt(b);
    });

    std::vector<DayGroup> groups;
    for (TaskItem *task : done) {
        const Instant when = task->doneAt().value_or(task->archivedAt().value_or(distantPast()));
        const Instant day = Calendar::startOfDay(when);
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [day](const DayGroup &g) { return g.day == day; });
        if (group == groups.end())
            group = groups.insert(groups.end(), DayGroup{day, {}});
        group->tasks.push_back(task);
    }
    std::stable_sort(groups.begin(), groups.end(),
                     [](const DayGroup &a, const DayGroup &b) { return a.day > b.day; });
    return groups;
}

std::vector<TaskItem *> dropped(ModelContext &context)
{
    std::vector<TaskItem *> result;
    for (TaskItem *task : PlannerStore(context).archivedTasks()) {
        if (!task->isDone())
            result.push_back(task);
    }
    return result;
}

Section *fallbackSection(ModelContext &context)
{
    const auto sections = context.fetchAll<Section>();
    for (const Page *page : live(context.fetchAll<Page>())) {
        if (const auto onPage = liveOn(sections, page); !onPage.empty())
            return onPage.front();
    }
    return nullptr;
}

QString dayLabel(Instant day, Instant now)
{
    if (Calendar::isSameDay(day, now))
        return QStringLiteral("Today");
    if (const auto yesterday = Calendar::addingDays(now, -1);
        yesterday && Calendar::isSameDay(day, *yesterday)) {
        return QStringLiteral("Yesterday");
    }
    const QDate date = toLocalDateTime(day).date();
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    if (date.year() == toLocalDateTime(now).date().year())
        return english.toString(date, QStringLiteral("dddd, dd MMMM"));
    return english.toString(date, QStringLiteral("dd MMMM yyyy"));
}

QString countText(qsizetype count)
{
    return count == 1 ? QStringLiteral("one thing") : QStringLiteral("%1 things").arg(count);
}

int wholeDaysBetween(Instant from, Instant to)
{
    if (to <= from)
        return 0;
    int days = int(toLocalDateTime(from).date().daysTo(toLocalDateTime(to).date()));
    // The last calendar day only counts once the time of day of `from` has come round again.
    while (days > 0) {
        const auto reached = Calendar::addingDays(from, days);
        if (reached && *reached <= to)
            break;
        --days;
    }
    return days;
}

QString daysLeftText(const TaskItem &task, Instant now)
{
    if (!task.archivedAt())
        return {};
    const int left = std::max(0, kKeptDays - wholeDaysBetween(*task.archivedAt(), now));
    return left == 1 ? QStringLiteral("1 day left") : QStringLiteral("%1 days left").arg(left);
}

} // namespace furrow::ArchiveContent
