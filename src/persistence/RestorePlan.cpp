#include "RestorePlan.h"

#include "model/Calendar.h"
#include "model/DayPlan.h"
#include "model/Project.h"
#include "model/TaskItem.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace furrow {

namespace {

// One step per record, in document order. A record overwrites only when its updatedAt is
// strictly later than the row's; a second record of one id is weighed against the first, as
// the first will have been applied by then. Of two stored rows with one id, the later one is
// the row the merge sees.
template<class T, class R>
std::vector<RestorePlan::Step>
planRecords(const ModelContext &context, const std::vector<R> &records, int &created, int &updated)
{
    QHash<QUuid, Instant> stamps;
    for (const auto &row : context.rows<T>())
        stamps.insert(row->id(), row->updatedAt());
    QSet<QUuid> added;
    QSet<QUuid> changed;
    std::vector<RestorePlan::Step> steps;
    steps.reserve(records.size());
    for (const R &r : records) {
        const auto stamp = stamps.constFind(r.id);
        if (stamp == stamps.constEnd()) {
            steps.push_back(RestorePlan::Step::Create);
            added.insert(r.id);
        } else if (r.updatedAt > *stamp) {
            steps.push_back(RestorePlan::Step::Overwrite);
            if (!added.contains(r.id))
                changed.insert(r.id);
        } else {
            steps.push_back(RestorePlan::Step::Keep);
            continue;
        }
        stamps.insert(r.id, r.updatedAt);
    }
    created = int(added.size());
    updated = int(changed.size());
    return steps;
}

} // namespace

QString RestorePlan::Counts::summary() const
{
    return QStringLiteral("%1 new, %2 updated, nothing deleted")
        .arg(newRecords())
        .arg(updatedRecords());
}

QString RestorePlan::Counts::details() const
{
    return QStringLiteral("Tasks: %1 new, %2 updated. Projects: %3 new, %4 updated. "
                          "Days: %5 new, %6 updated.")
        .arg(newTasks)
        .arg(updatedTasks)
        .arg(newProjects)
        .arg(updatedProjects)
        .arg(newDays)
        .arg(updatedDays);
}

RestorePlan::RestorePlan(const ModelContext &context, const PlannerArchive &archive)
{
    m_projects = planRecords<Project>(context, archive.projects, m_counts.newProjects,
                                      m_counts.updatedProjects);
    m_tasks
        = planRecords<TaskItem>(context, archive.tasks, m_counts.newTasks, m_counts.updatedTasks);
    planDays(context, archive);
}

// A day record matches the first stored plan of its calendar day; plans the document adds are
// not matched by its later records. A matched plan only gets a start it lacks.
void RestorePlan::planDays(const ModelContext &context, const PlannerArchive &archive)
{
    const std::vector<DayPlan *> plans = context.fetchAll<DayPlan>();
    QSet<const DayPlan *> filled;
    m_days.reserve(archive.days.size());
    for (const auto &r : archive.days) {
        const Calendar::Day day = Calendar::dayOf(r.date);
        const auto match = std::find_if(plans.begin(), plans.end(), [&](const DayPlan *plan) {
            return day.contains(plan->date());
        });
        if (match == plans.end()) {
            m_days.push_back({Step::Create, nullptr});
            ++m_counts.newDays;
        } else if (r.startedAt && !(*match)->startedAt() && !filled.contains(*match)) {
            m_days.push_back({Step::Overwrite, *match});
            filled.insert(*match);
            ++m_counts.updatedDays;
        } else {
            m_days.push_back({Step::Keep, nullptr});
        }
    }
}

} // namespace furrow
