#include "CharacterSet.h"
#include "ClockRandom.h"
#include "ItalianToolkit.h"
#include "QtDialogs.h"
#include "QtProgram.h"
#include "Tavola.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char *argv[])
{
    // The wizard stands at a fixed screen position, which only X11 grants;
    // a Wayland session still offers it through XWayland.
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") && qEnvironmentVariableIsSet("DISPLAY")
        && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    ItalianToolkit::install(app);

    CharacterSet agent;
    QtDialogs dialogs;
    QtProgram program;
    ClockRandom random;
    Tavola tavola(agent, dialogs, program, random);
    dialogs.setParent(&tavola);
    tavola.move(QGuiApplication::primaryScreen()->availableGeometry().topLeft());
    tavola.start();
    return app.exec();
}
