#pragma once

#include <QString>

namespace furrow {

// Starting the planner with the desktop session: an XDG autostart entry,
// $XDG_CONFIG_HOME/autostart/furrow.desktop, that runs `furrow --background`. Its state is
// always read from the file, since the user may remove or disable it outside the planner.
namespace SessionAutostart {

QString entryPath();
// The entry exists and neither hides nor disables itself.
bool isEnabled();
// Writes or removes the entry; false when the file could not be written or removed.
bool setEnabled(bool enabled);

} // namespace SessionAutostart
} // namespace furrow
