#include "LinearFind.h"

#include "FindResults.h"
#include "FindScope.h"
#include "model/PlannerStore.h"

namespace furrow::LinearFind {

std::vector<FindResult> search(const PlannerStore &store, const QString &text,
                               const std::vector<Vector> &goals, qsizetype limit)
{
    const FindQuery query = FindQuery::parse(text);
    if (query.isEmpty())
        return {};
    const std::optional<Project *> project = FindScope::restriction(query, store);
    std::vector<FindCandidate> candidates;
    if (!project || *project) {
        for (const auto &task : store.context().rows<TaskItem>()) {
            if (!FindScope::isSearchable(*task) || (project && task->project() != *project))
                continue;
            bool noteMatch = false;
            if (!FindScope::matches(query.words, FindScope::titleText(*task), task->note(),
                                    &noteMatch))
                continue;
            candidates.push_back({.task = task.get(),
                                  .noteMatch = noteMatch,
                                  .rank = FindScope::rankOf(*task),
                                  .updatedAt = task->updatedAt(),
                                  .key = task->rowKey()});
        }
    }
    FindScope::addPlaces(query, store, goals, candidates);
    FindCandidate::keepBest(candidates, limit);
    return FindResults::build(candidates, query, goals);
}

} // namespace furrow::LinearFind
