#pragma once

#include <QDate>
#include <QUuid>

namespace furrow {

// The id of a repeating task's occurrence that is due on a given day: a name-based UUID
// (version 5) of the series id and the day. Two devices that close the same occurrence while
// apart create the same next record, which sync then merges into one.
namespace OccurrenceId {

QUuid of(const QUuid &series, QDate due);

} // namespace OccurrenceId
} // namespace furrow
