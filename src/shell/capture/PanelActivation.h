#pragma once

#include <QByteArray>

#include <optional>

class QWidget;

namespace furrow {

// Lets a window that the planner shows in answer to a key press elsewhere take the keyboard
// despite the desktop's focus-stealing prevention, keeps it out of the task bar and the window
// switcher and puts it on every workspace. Does nothing on platforms other than X11 and Wayland.
namespace PanelActivation {

// The X11 time of the user action carried by a startup id such as "…_TIME12345"; none when
// the token carries no time.
std::optional<quint32> userTime(const QByteArray &activationToken);

// Before mapping: on Wayland hands the token to Qt's xdg-activation request; on X11 asks the
// window manager to leave the window out of the task bar and pager and to show it on every
// workspace.
void beforeShow(QWidget &window, const QByteArray &activationToken);
// After mapping: on X11 stamps the window with the action's time and asks the window manager
// to activate it with that time.
void afterShow(QWidget &window, const QByteArray &activationToken);
// Whether the window is on the workspace the user is on (or on all of them); true wherever
// workspaces cannot be told apart.
bool isOnCurrentWorkspace(const QWidget &window);

} // namespace PanelActivation
} // namespace furrow
