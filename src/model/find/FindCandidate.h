#pragma once

#include "model/Instant.h"

#include <QtGlobal>

#include <vector>

namespace furrow {

class Page;
class TaskItem;

// A record that matched a find, with what ranks it: title (or name) matches before note
// matches; then places (pages, goals) before open tasks, open before done before archived;
// then the most recently changed first.
struct FindCandidate
{
    enum class Rank { Place = 0, Open = 1, Done = 2, Archived = 3 };

    TaskItem *task = nullptr;
    Page *page = nullptr;
    int goalSlot = -1;
    bool noteMatch = false;
    Rank rank = Rank::Open;
    Instant updatedAt;
    qint64 key = 0; // the row key or goal slot; keeps the order total

    bool operator<(const FindCandidate &other) const;

    // The first `limit` candidates in ranking order (all when the limit is negative).
    static void keepBest(std::vector<FindCandidate> &candidates, qsizetype limit);
};

} // namespace furrow
