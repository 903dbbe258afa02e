#pragma once

#include <QtGlobal>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace furrow {

// Small synchronous helpers for the window manager hints the planner reads and writes over xcb.
namespace X11Properties {

struct FreeReply
{
    void operator()(void *reply) const { std::free(reply); }
};
template<class T>
using Reply = std::unique_ptr<T, FreeReply>;

xcb_atom_t atom(xcb_connection_t *connection, const char *name);

// The 32-bit values of a window's property of the given type; empty when it has none.
std::vector<quint32> values(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t name,
                            xcb_atom_t type);

xcb_window_t rootOf(xcb_connection_t *connection, xcb_window_t window);

} // namespace X11Properties
} // namespace furrow
