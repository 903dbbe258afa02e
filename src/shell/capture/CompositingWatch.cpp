#include "shell/capture/CompositingWatch.h"

#include "hotkey/X11GlobalHotKey.h"
#include "shell/capture/X11Properties.h"

#include <QCoreApplication>

#include <xcb/xfixes.h>

#include <cstdlib>
#include <string>

namespace furrow {

namespace {

// The screen the display name points at; compositors own one selection per screen.
int screenNumber()
{
    int screen = 0;
    char *host = nullptr;
    int display = 0;
    if (!xcb_parse_display(nullptr, &host, &display, &screen))
        screen = 0;
    std::free(host);
    return screen;
}

xcb_window_t firstRoot(xcb_connection_t *connection)
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

} // namespace

CompositingWatch::CompositingWatch(QObject *parent)
    : QObject(parent)
    , m_connection(X11GlobalHotKey::applicationConnection())
{
    if (!m_connection)
        return;
    const std::string name = "_NET_WM_CM_S" + std::to_string(screenNumber());
    m_selection = X11Properties::atom(m_connection, name.c_str());
    const xcb_query_extension_reply_t *xfixes
        = xcb_get_extension_data(m_connection, &xcb_xfixes_id);
    if (xfixes && xfixes->present) {
        m_xfixesEvent = xfixes->first_event;
        X11Properties::Reply<xcb_xfixes_query_version_reply_t> version(
            xcb_xfixes_query_version_reply(m_connection,
                                           xcb_xfixes_query_version(m_connection, 5, 0), nullptr));
        xcb_xfixes_select_selection_input(
            m_connection, firstRoot(m_connection), m_selection,
            XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER
                | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY
                | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
        xcb_flush(m_connection);
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    recheck();
}

CompositingWatch::~CompositingWatch()
{
    if (m_xfixesEvent && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

void CompositingWatch::recheck()
{
    if (!m_connection)
        return;
    const X11Properties::Reply<xcb_get_selection_owner_reply_t> reply(xcb_get_selection_owner_reply(
        m_connection, xcb_get_selection_owner(m_connection, m_selection), nullptr));
    setActive(reply && reply->owner != XCB_WINDOW_NONE);
}

void CompositingWatch::setActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    Q_EMIT changed(active);
}

bool CompositingWatch::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != m_xfixesEvent + XCB_XFIXES_SELECTION_NOTIFY)
        return false;
    const auto *notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t *>(event);
    // The owner is asked again on the next turn, out of Qt's event dispatch: a closed client's
    // notice names no new owner, and the windows that follow may reshape themselves.
    if (notify->selection == m_selection)
        QMetaObject::invokeMethod(this, &CompositingWatch::recheck, Qt::QueuedConnection);
    return false;
}

} // namespace furrow
