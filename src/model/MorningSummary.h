#pragma once

#include "Instant.h"

#include <QStringList>
#include <QUuid>

#include <optional>

namespace furrow {

class PlannerStore;

// The morning's one notification: how many open tasks on the pages are due today and overdue,
// the first three of their titles in the pages' order, and the first page that holds one.
struct MorningSummary
{
    static constexpr int kTitlesShown = 3;

    int dueToday = 0;
    int overdue = 0;
    QStringList titles;
    QUuid firstPageId;

    // None on a day with nothing due or overdue.
    static std::optional<MorningSummary> of(const PlannerStore &store, Instant now);
    // "2 due today · 1 overdue".
    QString title() const;
    // The first titles, one a line.
    QString body() const { return titles.join(u'\n'); }
};

} // namespace furrow
