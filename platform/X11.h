#pragma once

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

// The display connection and the pieces of xcb that the window-manager
// queries share.
namespace X11 {

// The program's connection to an X server, or nothing on any other platform
// (the offscreen one answers as X11 too, but without a connection).
xcb_connection_t *connection();

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reply<T> reply(T *r)
{
    return Reply<T>(r, &std::free);
}

xcb_atom_t atom(xcb_connection_t *c, const char *name);

} // namespace X11
