#pragma once

#include "OtherX11Client.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <cstring>
#include <optional>
#include <string>

namespace furrow::test {

// The test's X display run by a real window manager (openbox, with four workspaces) and no
// compositor, and what the user and a compositor do on it, from a connection of their own.
class X11Desktop
{
public:
    static constexpr quint32 kAllDesktops = 0xFFFFFFFF;

    X11Desktop()
    {
        const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
        if (openbox.isEmpty() || !m_x.isConnected())
            return;
        m_wm.setStandardOutputFile(QProcess::nullDevice());
        m_wm.setStandardErrorFile(QProcess::nullDevice());
        m_wm.start(openbox, {QStringLiteral("--sm-disable")});
        m_managed
            = m_wm.waitForStarted() && QTest::qWaitFor([this] {
                  return !values(m_x.root, "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW).empty();
              });
    }
    ~X11Desktop()
    {
        stopCompositor();
        m_wm.terminate();
        m_wm.waitForFinished();
    }
    X11Desktop(const X11Desktop &) = delete;
    X11Desktop &operator=(const X11Desktop &) = delete;

    bool isManaged() const { return m_managed; }

    // A compositing manager takes or gives up its selection.
    void startCompositor()
    {
        m_compositor = xcb_generate_id(m_x.connection);
        xcb_create_window(m_x.connection, XCB_COPY_FROM_PARENT, m_compositor, m_x.root, 0, 0, 1, 1,
                          0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        xcb_set_selection_owner(m_x.connection, m_compositor, atom("_NET_WM_CM_S0"),
                                XCB_CURRENT_TIME);
        xcb_flush(m_x.connection);
    }
    void stopCompositor()
    {
        if (m_compositor == XCB_NONE)
            return;
        xcb_destroy_window(m_x.connection, m_compositor);
        xcb_flush(m_x.connection);
        m_compositor = XCB_NONE;
    }

    std::optional<quint32> desktopOf(xcb_window_t window) const
    {
        return cardinal(window, "_NET_WM_DESKTOP");
    }

    bool isViewable(xcb_window_t window) const
    {
        xcb_get_window_attributes_reply_t *reply = xcb_get_window_attributes_reply(
            m_x.connection, xcb_get_window_attributes(m_x.connection, window), nullptr);
        const bool viewable = reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(reply);
        return viewable;
    }

    bool hasState(xcb_window_t window, const char *state) const
    {
        const auto states = values(window, "_NET_WM_STATE", XCB_ATOM_ATOM);
        return std::find(states.begin(), states.end(), atom(state)) != states.end();
    }

private:
    xcb_atom_t atom(const char *name) const
    {
        const auto cookie = xcb_intern_atom(m_x.connection, 0, uint16_t(std::strlen(name)), name);
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(m_x.connection, cookie, nullptr);
        const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return result;
    }

    std::vector<quint32> values(xcb_window_t window, const char *name, xcb_atom_t type) const
    {
        const auto cookie = xcb_get_property(m_x.connection, 0, window, atom(name), type, 0, 64);
        xcb_get_property_reply_t *reply = xcb_get_property_reply(m_x.connection, cookie, nullptr);
        std::vector<quint32> result;
        if (reply && reply->format == 32) {
            const auto *data = static_cast<const quint32 *>(xcb_get_property_value(reply));
            result.assign(data, data + xcb_get_property_value_length(reply) / 4);
        }
        std::free(reply);
        return result;
    }

    std::optional<quint32> cardinal(xcb_window_t window, const char *name) const
    {
        const auto found = values(window, name, XCB_ATOM_CARDINAL);
        return found.empty() ? std::nullopt : std::optional(found.front());
    }

    OtherX11Client m_x;
    QProcess m_wm;
    bool m_managed = false;
    xcb_window_t m_compositor = XCB_NONE;
};

} // namespace furrow::test
