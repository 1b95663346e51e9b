#include "FrameExtents.h"

#include "X11.h"

#include <QElapsedTimer>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace {

// A manager that answers does so within a few milliseconds; this only
// bounds the wait for one that claims to and does not.
constexpr int answerWaitMs = 500;

bool supported(xcb_connection_t *c, xcb_window_t root, xcb_atom_t wanted)
{
    const auto r = X11::reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, X11::atom(c, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 0, 4096), nullptr));
    if (!r || r->format != 32)
        return false;
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(r.get()));
    const int n = xcb_get_property_value_length(r.get()) / 4;
    return std::find(atoms, atoms + n, wanted) != atoms + n;
}

std::optional<QMargins> extents(xcb_connection_t *c, xcb_window_t window, xcb_atom_t property)
{
    const auto r = X11::reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, XCB_ATOM_CARDINAL, 0, 4), nullptr));
    if (!r || r->format != 32 || xcb_get_property_value_length(r.get()) != 16)
        return std::nullopt;
    // left, right, top, bottom
    const auto *v = static_cast<const uint32_t *>(xcb_get_property_value(r.get()));
    return QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));
}

} // namespace

std::optional<QMargins> FrameExtents::ask(QWidget &window)
{
    xcb_connection_t *c = X11::connection();
    if (!c)
        return std::nullopt;
    const auto id = xcb_window_t(window.winId());
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t request = X11::atom(c, "_NET_REQUEST_FRAME_EXTENTS");
    const xcb_atom_t property = X11::atom(c, "_NET_FRAME_EXTENTS");
    if (!supported(c, root, request))
        return std::nullopt;

    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = request;
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(c);

    QElapsedTimer waited;
    waited.start();
    std::optional<QMargins> found;
    while (!(found = extents(c, id, property)) && waited.elapsed() < answerWaitMs)
        QThread::msleep(5);
    if (!found)
        return std::nullopt;
    const qreal ratio = window.windowHandle() ? window.windowHandle()->devicePixelRatio() : 1.0;
    const auto scaled = [ratio](int v) { return int(std::lround(v / ratio)); };
    return QMargins(scaled(found->left()), scaled(found->top()), scaled(found->right()), scaled(found->bottom()));
}

std::optional<QPoint> FrameExtents::placedAt(QWidget &window)
{
    xcb_connection_t *c = X11::connection();
    if (!c || !window.windowHandle())
        return std::nullopt;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const auto r = X11::reply(xcb_translate_coordinates_reply(
        c, xcb_translate_coordinates(c, xcb_window_t(window.winId()), root, 0, 0), nullptr));
    if (!r)
        return std::nullopt;
    const qreal ratio = window.windowHandle()->devicePixelRatio();
    return QPoint(int(std::lround(r->dst_x / ratio)), int(std::lround(r->dst_y / ratio)));
}
