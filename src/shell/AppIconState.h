#pragma once

#include <QIcon>
#include <QString>

namespace furrow {

// Turns the application icon into the day's progress mark: the plain icon when nothing was
// closed today, then one of three images for 1, 2 and 3 or more closed tasks. Process-wide;
// main thread only.
namespace AppIconState {

// Shows the level for `closed` (clamped to 0…3). Without `force` nothing happens when the
// level is the one shown. A level whose image is missing or unreadable shows the plain icon;
// only images that loaded are kept, so a missing one is tried again next time.
void apply(qint64 closed, bool force);

// The level last shown; −1 before the first apply.
int current();

// The folder holding "icon-state-1.png" … "icon-state-3.png" (the bundled images by
// default). Changing it forgets the images loaded so far.
void setImageFolder(const QString &folder);

// The application's own icon, shown at level 0.
QIcon plainIcon();

} // namespace AppIconState
} // namespace furrow
