#include "shell/capture/PanelActivation.h"
#include "shell/hotkey/X11GlobalHotKey.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace furrow::PanelActivation {

namespace {

struct FreeReply
{
    void operator()(void *reply) const { std::free(reply); }
};
template<class T>
using Reply = std::unique_ptr<T, FreeReply>;

bool isWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const auto cookie = xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The 32-bit values of a window's property of the given type; empty when it has none.
std::vector<quint32> property(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t name,
                              xcb_atom_t type)
{
    const auto cookie = xcb_get_property(connection, 0, window, name, type, 0, 1024);
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection, cookie, nullptr));
    if (!reply || reply->format != 32 || reply->type != type)
        return {};
    const auto *values = static_cast<const quint32 *>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

// The window manager drops _NET_WM_STATE when a window is hidden, so this runs before every
// mapping; Qt adds its own states to what it finds there.
void skipTaskbarAndPager(xcb_connection_t *connection, xcb_window_t window)
{
    const xcb_atom_t state = atom(connection, "_NET_WM_STATE");
    std::vector<quint32> states = property(connection, window, state, XCB_ATOM_ATOM);
    for (const char *name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}) {
        const xcb_atom_t wanted = atom(connection, name);
        if (std::find(states.begin(), states.end(), wanted) == states.end())
            states.push_back(wanted);
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, state, XCB_ATOM_ATOM, 32,
                        uint32_t(states.size()), states.data());
    xcb_flush(connection);
}

xcb_window_t rootOf(xcb_connection_t *connection, xcb_window_t window)
{
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr));
    return tree ? tree->root : xcb_window_t(XCB_WINDOW_NONE);
}

void activateWithTime(xcb_connection_t *connection, xcb_window_t window, quint32 time)
{
    // Qt keeps the user time on a helper window when the window manager supports one; Qt's own
    // stamp is the time of the last event it saw, older than the key press that opened us.
    const auto helper = property(connection, window, atom(connection, "_NET_WM_USER_TIME_WINDOW"),
                                 XCB_ATOM_WINDOW);
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
        skipTaskbarAndPager(connection, xcb_window_t(window.winId()));
}

void afterShow(QWidget &window, const QByteArray &activationToken)
{
    xcb_connection_t *connection = X11GlobalHotKey::applicationConnection();
    const auto time = userTime(activationToken);
    if (connection && time)
        activateWithTime(connection, xcb_window_t(window.winId()), *time);
}

} // namespace furrow::PanelActivation
