#pragma once

#include "model/Instant.h"

#include <QString>
#include <QUuid>

#include <vector>

namespace furrow {

// One result of a find, with everything a row or a command line shows, so that nothing holds
// on to a record that may be gone by the time the result is used.
struct FindResult
{
    enum class Kind { Task, Page, Goal };
    enum class State { Open, Done, Archived };
    // A [start, end) range of a text to emphasise.
    using Range = std::pair<qsizetype, qsizetype>;

    Kind kind = Kind::Task;
    State state = State::Open;
    QUuid id;          // the task's or page's id
    int goalSlot = -1; // the goal's slot
    QString title;
    std::vector<Range> titleRanges;
    // One line of the note (or the goal's statement) around the match, when only it matched.
    QString snippet;
    std::vector<Range> snippetRanges;
    QUuid pageId;
    QString pageName;
    QString sectionName;
    QString projectName;
    QString projectColor;
    OptionalInstant due;
    // An archived task: the day the archive files it under, and whether it was dropped.
    OptionalInstant archiveDay;
    bool dropped = false;
};

} // namespace furrow
