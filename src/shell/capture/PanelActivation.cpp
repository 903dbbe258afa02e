#include "shell/capture/PanelActivation.h"
#include "hotkey/X11GlobalHotKey.h"
#include "shell/capture/X11Properties.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <algorithm>
#include <vector>

namespace furrow::PanelActivation {

namespace {

using X11Properties::atom;
using X11Properties::rootOf;
using X11Properties::values;

// _NET_WM_DESKTOP's value for a window on every workspace.
constexpr quint32 kAllDesktops = 0xFFFFFFFF;

bool isWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// The window manager drops _NET_WM_STATE when a window is hidden, so this runs before every
// mapping; Qt adds its own states to what it finds there. Sticky and all desktops put the panel
// on whichever workspace the user is on, now and after switching.
void skipTaskbarAndStayOnEveryWorkspace(xcb_connection_t *connection, xcb_window_t window)
{
    const xcb_atom_t state = atom(connection, "_NET_WM_STATE");
    std::vector<quint32> states = values(connection, window, state, XCB_ATOM_ATOM);
    for (const char *name :
         {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER", "_NET_WM_STATE_STICKY"}) {
        const xcb_atom_t wanted = atom(connection, name);
        if (std::find(states.begin(), states.end(), wanted) == states.end())
            states.push_back(wanted);
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, state, XCB_ATOM_ATOM, 32,
                        uint32_t(states.size()), states.data());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window,
                        atom(connection, "_NET_WM_DESKTOP"), XCB_ATOM_CARDINAL, 32, 1,
                        &kAllDesktops);
    xcb_flush(connection);
}

void activateWithTime(xcb_connection_t *connection, xcb_window_t window, quint32 time)
{
    // Qt keeps the user time on a helper window when the window manager supports one; Qt's own
    // stamp is the time of the last event it saw, older than the key press that opened us.
    const auto helper
        = values(connection, window, atom(connection, "_NET_WM_USER_TIME_WINDOW"), XCB_ATOM_WINDOW);
    const xcb_window_t timeWindow = helper.empty() ? window : helper.front();
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, timeWindow,
                        atom(connection, "_NET_WM_USER_TIME"), XCB_ATOM_CARDINAL, 32, 1, &time);

    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = atom(connection, "_NET_ACTIVE_WINDOW");
    event.data.data32[0] = 1; // asked for by an application
    event.data.data32[1] = time;
    xcb_send_event(connection, 0, rootOf(connection, window),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&event));
    xcb_flush(connection);
}

} // namespace

std::optional<quint32> userTime(const QByteArray &activationToken)
{
    const qsizetype marker = activationToken.lastIndexOf("_TIME");
    if (marker < 0)
        return std::nullopt;
    const QByteArray digits = activationToken.mid(marker + 5);
    if (digits.isEmpty()
        || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    bool ok = false;
    const quint32 time = digits.toUInt(&ok);
    return ok ? std::optional(time) : std::nullopt;
}

void beforeShow(QWidget &window, const QByteArray &activationToken)
{
    if (isWayland()) {
        // Qt's xdg-activation request on the next activation takes the token from here.
        if (!activationToken.isEmpty())
            qputenv("XDG_ACTIVATION_TOKEN", activationToken);
        return;
    }
    if (xcb_connection_t *connection = X11GlobalHotKey::applicationConnection())
        skipTaskbarAndStayOnEveryWorkspace(connection, xcb_window_t(window.winId()));
}

void afterShow(QWidget &window, const QByteArray &activationToken)
{
    xcb_connection_t *connection = X11GlobalHotKey::applicationConnection();
    const auto time = userTime(activationToken);
    if (connection && time)
        activateWithTime(connection, xcb_window_t(window.winId()), *time);
}

bool isOnCurrentWorkspace(const QWidget &window)
{
    xcb_connection_t *connection = X11GlobalHotKey::applicationConnection();
    if (!connection || !window.testAttribute(Qt::WA_WState_Created))
        return true;
    const auto id = xcb_window_t(window.winId());
    const auto desktop
        = values(connection, id, atom(connection, "_NET_WM_DESKTOP"), XCB_ATOM_CARDINAL);
    const auto current = values(connection, rootOf(connection, id),
                                atom(connection, "_NET_CURRENT_DESKTOP"), XCB_ATOM_CARDINAL);
    // Without workspaces (or a window manager that tells of them) every window is on the one.
    if (desktop.empty() || current.empty() || desktop.front() == kAllDesktops)
        return true;
    return desktop.front() == current.front();
}

} // namespace furrow::PanelActivation
