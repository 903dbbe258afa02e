#pragma once

#include <xcb/xcb.h>

#include <QtGlobal>

#include <cstdlib>

namespace furrow::test {

// A second connection to the X display, playing another application that competes for the
// same keys.
class OtherX11Client
{
public:
    OtherX11Client()
        : connection(xcb_connect(nullptr, nullptr))
        , root(isConnected() ? xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root
                             : XCB_NONE)
    {}
    ~OtherX11Client() { xcb_disconnect(connection); }
    OtherX11Client(const OtherX11Client &) = delete;
    OtherX11Client &operator=(const OtherX11Client &) = delete;

    bool isConnected() const { return xcb_connection_has_error(connection) == 0; }

    xcb_keycode_t keycodeOf(xcb_keysym_t keysym) const
    {
        const xcb_setup_t *setup = xcb_get_setup(connection);
        const auto count = quint8(setup->max_keycode - setup->min_keycode + 1);
        auto *reply = xcb_get_keyboard_mapping_reply(
            connection, xcb_get_keyboard_mapping(connection, setup->min_keycode, count), nullptr);
        const xcb_keysym_t *keysyms = xcb_get_keyboard_mapping_keysyms(reply);
        const int per = reply->keysyms_per_keycode;
        xcb_keycode_t found = 0;
        for (int i = 0; i < count * per && found == 0; ++i) {
            if (keysyms[i] == keysym)
                found = xcb_keycode_t(setup->min_keycode + i / per);
        }
        std::free(reply);
        return found;
    }

    // Whether this client can grab the key; it holds the grab when it can.
    bool grabs(xcb_keycode_t keycode, quint16 modifiers) const
    {
        xcb_generic_error_t *error = xcb_request_check(
            connection, xcb_grab_key_checked(connection, 0, root, modifiers, keycode,
                                             XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        std::free(error);
        return error == nullptr;
    }

    void releases(xcb_keycode_t keycode, quint16 modifiers) const
    {
        xcb_ungrab_key(connection, keycode, root, modifiers);
        xcb_flush(connection);
    }

    xcb_connection_t *const connection;
    const xcb_window_t root;
};

} // namespace furrow::test
