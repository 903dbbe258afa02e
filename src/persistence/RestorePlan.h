#pragma once

#include "PlannerArchive.h"

#include "model/ModelContext.h"

#include <QString>

#include <vector>

namespace furrow {

class DayPlan;

// What merging a backup document into a store does to each of its records, decided without
// writing anything. The restore carries the plan out step by step, and the import preview
// counts it, so the two always agree: a record adds a row, overwrites an older one (strictly
// later updatedAt), fills a day's missing start, or leaves its row alone. Nothing is removed.
class RestorePlan
{
public:
    enum class Step { Keep, Create, Overwrite };

    struct DayStep
    {
        Step step = Step::Keep;
        DayPlan *plan = nullptr; // the plan whose start is filled in, for Overwrite
    };

    // Rows changed by the merge; a row that records of the document touch twice counts once.
    struct Counts
    {
        int newTasks = 0;
        int updatedTasks = 0;
        int newProjects = 0;
        int updatedProjects = 0;
        int newDays = 0;
        int updatedDays = 0;

        int newRecords() const { return newTasks + newProjects + newDays; }
        int updatedRecords() const { return updatedTasks + updatedProjects + updatedDays; }
        // "12 new, 3 updated, nothing deleted", over tasks, projects and days together.
        QString summary() const;
        // The same counts by kind of record.
        QString details() const;

        bool operator==(const Counts &) const = default;
    };

    // Decides against the rows of `context` as they are now; valid until the context changes.
    RestorePlan(const ModelContext &context, const PlannerArchive &archive);

    const std::vector<Step> &projectSteps() const { return m_projects; }
    const std::vector<Step> &taskSteps() const { return m_tasks; }
    const std::vector<DayStep> &daySteps() const { return m_days; }
    const Counts &counts() const { return m_counts; }

private:
    void planDays(const ModelContext &context, const PlannerArchive &archive);

    std::vector<Step> m_projects;
    std::vector<Step> m_tasks;
    std::vector<DayStep> m_days;
    Counts m_counts;
};

} // namespace furrow
