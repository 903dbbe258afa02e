#include "FindScope.h"

#include "WordPrefixText.h"
#include "model/PlannerStore.h"

#include <algorithm>

namespace furrow::FindScope {

namespace {

bool allStartWords(const std::vector<QString> &words, const WordPrefixText &text)
{
    return std::all_of(words.begin(), words.end(),
                       [&](const QString &word) { return text.containsWordPrefix(word); });
}

} // namespace

bool isSearchable(const TaskItem &task)
{
    if (task.deletedAt())
        return false;
    if (task.isArchived())
        return true;
    const Section *section = task.section();
    return section && section->isLive() && section->page() && section->page()->isLive();
}

FindCandidate::Rank rankOf(const TaskItem &task)
{
    if (task.isArchived())
        return FindCandidate::Rank::Archived;
    return task.isDone() ? FindCandidate::Rank::Done : FindCandidate::Rank::Open;
}

QString titleText(const TaskItem &task)
{
    const Project *project = task.project();
    if (!project || project->deletedAt())
        return task.title();
    return task.title() + u' ' + project->name();
}

std::optional<Project *> restriction(const FindQuery &query, const PlannerStore &store)
{
    if (!query.projectToken)
        return std::nullopt;
    return store.matchProject(*query.projectToken);
}

bool matches(const std::vector<QString> &words, const QString &titleText, const QString &note,
             bool *noteMatch)
{
    const WordPrefixText title(titleText);
    // The note is looked at only for words the title lacks, which most tasks never need.
    std::optional<WordPrefixText> noteText;
    *noteMatch = false;
    for (const QString &word : words) {
        if (title.containsWordPrefix(word))
            continue;
        *noteMatch = true;
        if (!noteText)
            noteText.emplace(note);
        if (!noteText->containsWordPrefix(word))
            return false;
    }
    return true;
}

void addPlaces(const FindQuery &query, const PlannerStore &store, const std::vector<Vector> &goals,
               std::vector<FindCandidate> &candidates)
{
    if (query.projectToken || query.words.empty())
        return;
    for (Page *page : store.pages()) {
        if (!allStartWords(query.words, WordPrefixText(page->name())))
            continue;
        candidates.push_back({.page = page,
                              .rank = FindCandidate::Rank::Place,
                              .updatedAt = page->updatedAt(),
                              .key = page->rowKey()});
    }
    for (const Vector &goal : goals) {
        if (goal.name.trimmed().isEmpty())
            continue;
        bool noteMatch = false;
        if (!matches(query.words, goal.name, goal.statement, &noteMatch))
            continue;
        candidates.push_back({.goalSlot = goal.slot,
                              .noteMatch = noteMatch,
                              .rank = FindCandidate::Rank::Place,
                              .updatedAt = distantPast(),
                              .key = goal.slot});
    }
}

} // namespace furrow::FindScope
