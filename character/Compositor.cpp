#include "Compositor.h"

#include <QGuiApplication>
#include <xcb/xcb.h>

bool compositorRunning()
{
    // Only X11 lets a window go without a compositor; the other platforms
    // (offscreen, Wayland compositors) always blend alpha.
    const auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || QGuiApplication::platformName() != QLatin1String("xcb") || !x11->connection())
        return true;
    xcb_connection_t *c = x11->connection();
    // The EWMH way: a compositor owns the _NET_WM_CM_S<screen> selection.
    // The program opens one screen, the display's first.
    static const char name[] = "_NET_WM_CM_S0";
    xcb_intern_atom_reply_t *atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr);
    if (!atom)
        return false;
    xcb_get_selection_owner_reply_t *owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr);
    const bool running = owner && owner->owner != XCB_NONE;
    free(owner);
    free(atom);
    return running;
}
