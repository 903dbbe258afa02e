#pragma once

#include "GlobalHotKey.h"

#include <QAbstractNativeEventFilter>

#include <xcb/xcb.h>

#include <vector>

namespace furrow {

// The hotkey on X11: a passive key grab on the root window, in every NumLock/CapsLock variant,
// and a native event filter that catches its presses.
class X11GlobalHotKey : public GlobalHotKey, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    // The X modifier bits that carry Alt, NumLock and Super on the server.
    struct ModifierBits
    {
        quint16 alt = XCB_MOD_MASK_1;
        quint16 numLock = XCB_MOD_MASK_2;
        quint16 super = XCB_MOD_MASK_4;
    };

    explicit X11GlobalHotKey(xcb_connection_t *connection, QObject *parent = nullptr);
    ~X11GlobalHotKey() override;

    // Qt's own X11 connection; null when Qt does not run on xcb.
    static xcb_connection_t *applicationConnection();

    bool registerCombo(const HotkeyCombo &combo, std::function<void()> action) override;
    void unregister() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    std::vector<quint16> lockVariants() const;
    quint16 xModifiers(quint32 modifiers) const;
    bool matches(const xcb_key_press_event_t &event) const;
    bool grabAll();
    void ungrabAll();

    xcb_connection_t *m_connection;
    xcb_window_t m_root = XCB_NONE;
    ModifierBits m_bits;
    std::vector<xcb_keycode_t> m_keycodes;
    quint16 m_modifiers = 0;
    xcb_timestamp_t m_lastRelease = 0;
};

} // namespace furrow
