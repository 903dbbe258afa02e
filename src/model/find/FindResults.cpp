#include "FindResults.h"

#include "FoldedText.h"
#include "model/Calendar.h"
#include "model/InlineSyntax.h"
#include "model/Page.h"
#include "model/Project.h"
#include "model/Section.h"
#include "model/TaskItem.h"

namespace furrow::FindResults {

namespace {

std::vector<FindResult::Range> rangesIn(const QString &text, const std::vector<QString> &words)
{
    return FoldedText(text, true).originalRanges(words);
}

void fillPlace(FindResult &result, const TaskItem &task)
{
    if (const Project *project = task.project(); project && !project->deletedAt()) {
        result.projectName = project->name();
        result.projectColor = project->colorHex();
    }
    result.due = task.dueDate();
    if (task.isArchived()) {
        result.state = FindResult::State::Archived;
        result.dropped = !task.isDone();
        const OptionalInstant filed
            = task.isDone() && task.doneAt() ? task.doneAt() : task.archivedAt();
        result.archiveDay = Calendar::startOfDay(filed.value_or(distantPast()));
        return;
    }
    result.state = task.isDone() ? FindResult::State::Done : FindResult::State::Open;
    if (const Section *section = task.section()) {
        result.sectionName = section->name();
        if (const Page *page = section->page()) {
            result.pageId = page->id();
            result.pageName = page->name();
        }
    }
}

FindResult taskResult(const FindCandidate &candidate, const FindQuery &query)
{
    const TaskItem &task = *candidate.task;
    FindResult result;
    result.id = task.id();
    result.title = task.title();
    result.titleRanges = rangesIn(task.title(), query.words);
    if (candidate.noteMatch)
        result.snippet = snippet(task.note(), query.words, &result.snippetRanges);
    fillPlace(result, task);
    return result;
}

FindResult goalResult(const FindCandidate &candidate, const FindQuery &query,
                      const std::vector<Vector> &goals)
{
    FindResult result;
    result.kind = FindResult::Kind::Goal;
    result.goalSlot = candidate.goalSlot;
    for (const Vector &goal : goals) {
        if (goal.slot != candidate.goalSlot)
            continue;
        result.title = goal.name;
        result.titleRanges = rangesIn(goal.name, query.words);
        if (candidate.noteMatch)
            result.snippet = snippet(goal.statement, query.words, &result.snippetRanges);
    }
    return result;
}

} // namespace

QString snippet(const QString &text, const std::vector<QString> &words,
                std::vector<FindResult::Range> *ranges)
{
    const QString line = InlineSyntax::oneLine(text);
    const auto all = rangesIn(line, words);
    if (all.empty())
        return {};
    qsizetype start = std::max<qsizetype>(0, all.front().first - kSnippetLead);
    // Start at a word when the cut falls inside one.
    if (start > 0) {
        const qsizetype space = line.indexOf(u' ', start);
        if (space >= 0 && space < all.front().first)
            start = space + 1;
    }
    if (start > 0 && line.at(start).isLowSurrogate())
        ++start;
    qsizetype end = std::min(line.size(), start + kSnippetLength);
    if (end < line.size() && line.at(end - 1).isHighSurrogate())
        --end;
    const QString lead = start > 0 ? QStringLiteral("…") : QString();
    for (const auto &[from, to] : all) {
        if (from >= start && from < end)
            ranges->emplace_back(from - start + lead.size(),
                                 std::min(to, end) - start + lead.size());
    }
    return lead + line.mid(start, end - start)
           + (end < line.size() ? QStringLiteral("…") : QString());
}

std::vector<FindResult> build(const std::vector<FindCandidate> &candidates, const FindQuery &query,
                              const std::vector<Vector> &goals)
{
    std::vector<FindResult> results;
    results.reserve(candidates.size());
    for (const FindCandidate &candidate : candidates) {
        if (candidate.task) {
            results.push_back(taskResult(candidate, query));
        } else if (candidate.page) {
            FindResult result;
            result.kind = FindResult::Kind::Page;
            result.id = candidate.page->id();
            result.pageId = candidate.page->id();
            result.title = candidate.page->name();
            result.titleRanges = rangesIn(result.title, query.words);
            results.push_back(result);
        } else {
            results.push_back(goalResult(candidate, query, goals));
        }
    }
    return results;
}

} // namespace furrow::FindResults
