#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <xcb/xcb.h>

namespace furrow {

// Tells whether a compositing manager runs, which decides whether a window's transparent
// pixels show what lies behind it or come out black. On X11 it is whoever owns the
// _NET_WM_CM_Sn selection, followed through XFixes as compositors start and stop; elsewhere
// (Wayland, offscreen) the display always composites.
class CompositingWatch : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    explicit CompositingWatch(QObject *parent = nullptr);
    ~CompositingWatch() override;

    bool isActive() const { return m_active; }
    // Asks the display again, for a change that came while no notice could arrive.
    void recheck();

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

Q_SIGNALS:
    void changed(bool active);

private:
    void setActive(bool active);

    xcb_connection_t *m_connection = nullptr;
    xcb_atom_t m_selection = XCB_ATOM_NONE;
    // The XFixes extension's first event code; 0 without the extension.
    quint8 m_xfixesEvent = 0;
    bool m_active = true;
};

} // namespace furrow
