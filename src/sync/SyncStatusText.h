#pragma once

#include "SyncStatus.h"

#include <QString>

namespace furrow {

// The words for a sync status, as the settings view and the command line show them; times in
// the user's locale, short style, without the date.
namespace SyncStatusText {

// A failure names the time of the last clean cycle first, when there was one: "Last synced
// 08:01 · " and the message.
QString describe(const SyncStatus &status, const OptionalInstant &lastSynced = std::nullopt);

} // namespace SyncStatusText
} // namespace furrow
