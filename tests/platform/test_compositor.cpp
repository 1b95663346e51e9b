#include "Compositor.h"
#include "X11.h"

#include <QTest>

// The wizard is shaped, or drawn translucent, by what the display has: a
// compositing manager is there while a client owns _NET_WM_CM_S0.
class TestCompositor : public QObject
{
    Q_OBJECT

private slots:
    void aCompositorIsSeenWhileAClientOwnsItsSelectionAndOnlyThen()
    {
        QVERIFY(!compositorRunning());
        xcb_connection_t *manager = xcb_connect(nullptr, nullptr);
        QVERIFY(!xcb_connection_has_error(manager));
        const xcb_atom_t selection = X11::atom(manager, "_NET_WM_CM_S0");
        // Owned on behalf of the root window, until the manager's connection closes.
        xcb_set_selection_owner(manager, xcb_setup_roots_iterator(xcb_get_setup(manager)).data->root, selection,
                                XCB_CURRENT_TIME);
        X11::reply(xcb_get_input_focus_reply(manager, xcb_get_input_focus(manager), nullptr)); // a round trip
        QVERIFY(compositorRunning());
        // The selection goes with the manager.
        xcb_disconnect(manager);
        QTRY_VERIFY(!compositorRunning());
    }
};

QTEST_MAIN(TestCompositor)
#include "test_compositor.moc"
