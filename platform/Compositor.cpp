#include "Compositor.h"

#include "X11.h"

bool compositorRunning()
{
    // Only X11 lets a window go without a compositor; the other platforms
    // (offscreen, Wayland compositors) always blend alpha.
    xcb_connection_t *c = X11::connection();
    if (!c)
        return true;
    // The EWMH way: a compositor owns the _NET_WM_CM_S<screen> selection.
    // The program opens one screen, the display's first.
    const xcb_atom_t selection = X11::atom(c, "_NET_WM_CM_S0");
    if (selection == XCB_ATOM_NONE)
        return false;
    const auto owner = X11::reply(xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr));
    return owner && owner->owner != XCB_NONE;
}
