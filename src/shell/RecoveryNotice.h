#pragma once

#include "persistence/StoreRecovery.h"

namespace furrow {

// What the user is told once the store had to be set aside and the planner brought back: the
// planner shows it in a message, a command prints it on standard error.
namespace RecoveryNotice {

// Empty when the store opened as it was. `folder` is where the old store was kept.
QString text(const StoreRecovery::Outcome &recovery, const QString &folder);

} // namespace RecoveryNotice
} // namespace furrow
