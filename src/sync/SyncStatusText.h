#pragma once

#include "SyncStatus.h"

#include <QString>

namespace furrow {

// The words for a sync status, as the settings view and the command line show them; times in
// the user's locale, short style, without the date.
namespace SyncStatusText {

QString describe(const SyncStatus &status);

} // namespace SyncStatusText
} // namespace furrow
