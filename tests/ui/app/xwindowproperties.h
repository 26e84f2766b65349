#pragma once

// What the programs that drive the window program on an X server ask the
// server about top-level windows (tst_crashrecovery, bench_dialogs).

#include <QString>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace Dayloom::XWindowProperties {

inline xcb_atom_t Atom(xcb_connection_t *connection, const char *name)
{
    auto *reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, strlen(name), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
}

// Mapped, with its ancestors.
inline bool Viewable(xcb_connection_t *connection, xcb_window_t window)
{
    auto *reply = xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, window), nullptr);
    const bool viewable = reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
    free(reply);
    return viewable;
}

// The window's _NET_WM_NAME (`netWmName` is its atom); empty when it has none.
inline QString Title(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t netWmName)
{
    auto *reply = xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, window, netWmName, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
        nullptr);
    QString title;
    if (reply)
        title = QString::fromUtf8(static_cast<const char *>(xcb_get_property_value(reply)),
                                  xcb_get_property_value_length(reply));
    free(reply);
    return title;
}

} // namespace Dayloom::XWindowProperties
