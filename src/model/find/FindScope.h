#pragma once

#include "FindCandidate.h"
#include "FindQuery.h"

#include "model/VectorStore.h"

#include <optional>

namespace furrow {

class PlannerStore;
class Project;

// What a find looks through and how one record is matched, shared by the index and the
// linear search so that both answer alike.
namespace FindScope {

// Tasks on a live section of a live page, and archived tasks; never tombstoned ones.
bool isSearchable(const TaskItem &task);
FindCandidate::Rank rankOf(const TaskItem &task);
// The text a title match looks at: the title and the name of the task's project.
QString titleText(const TaskItem &task);

// The project a query is restricted to: none when it names none; a null project when it
// names one that the capture syntax's rules match to no project, so nothing matches.
std::optional<Project *> restriction(const FindQuery &query, const PlannerStore &store);

// Whether every word starts a word of the title text, or of the title and the note; sets
// whether the note was needed.
bool matches(const std::vector<QString> &words, const QString &titleText, const QString &note,
             bool *noteMatch);

// Appends the pages and goals that match; places are never restricted to a project.
void addPlaces(const FindQuery &query, const PlannerStore &store, const std::vector<Vector> &goals,
               std::vector<FindCandidate> &candidates);

} // namespace FindScope
} // namespace furrow
