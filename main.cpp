#include "CharacterSet.h"
#include "ClockRandom.h"
#include "EndSignals.h"
#include "ItalianToolkit.h"
#include "QtDialogs.h"
#include "QtProgram.h"
#include "ScreenCheck.h"
#include "Tavola.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // The wizard stands at a fixed screen position, which only X11 grants;
    // a Wayland session still offers it through XWayland.
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") && qEnvironmentVariableIsSet("DISPLAY")
        && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    ScreenCheck screenCheck;
    QApplication app(argc, argv);
    screenCheck.passed();
    ItalianToolkit::install(app);

    CharacterSet agent;
    QtDialogs dialogs;
    QtProgram program;
    ClockRandom random;
    Tavola tavola(agent, dialogs, program, random);
    dialogs.setParent(&tavola);
    EndSignals endSignals;
    QObject::connect(&endSignals, &EndSignals::received, &tavola,
                     [&tavola](int signalNumber) { tavola.endNow(128 + signalNumber); });
    agent.setOwner(&tavola);
    QObject::connect(&tavola, &Tavola::keepClearChanged, [&agent](const QList<QRect> &areas) { agent.setKeepClear(areas); });
    QObject::connect(&tavola, &Tavola::wizardOffsetChanged, [&agent](const QPoint &offset) { agent.setOrigin(offset); });
    tavola.placeOnScreen();
    tavola.start();
    if (const std::optional<int> status = program.endedWith())
        return *status;
    return app.exec();
}
