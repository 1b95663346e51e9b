#include "Announcer.h"
#include "CharacterSet.h"
#include "ClockRandom.h"
#include "ContestWriter.h"
#include "EndSignals.h"
#include "ItalianToolkit.h"
#include "QtDialogs.h"
#include "QtProgram.h"
#include "ResultsFolder.h"
#include "ScreenCheck.h"
#include "ScreenReaderWatch.h"
#include "SteadyClock.h"
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
    // While a screen reader runs it is the wizard's voice: one voice at a
    // time, in the pupil's own settings, and words even with no sound at all.
    ScreenReaderWatch screenReaderWatch;
    Announcer screenReader(screenReaderWatch);
    QObject::connect(&screenReaderWatch, &ScreenReaderWatch::runningChanged, [&agent](bool running) { agent.setMuted(running); });
    agent.onSaying([&screenReader](const QString &text) { screenReader.say(text); });
    QtDialogs dialogs;
    QtProgram program;
    ClockRandom random;
    // Outlives the window, so that the contest's last version gets written.
    ContestWriter contests(ResultsFolder::own());
    SteadyClock clock;
    Tavola tavola(agent, dialogs, program, random);
    tavola.keepContests(contests, clock);
    dialogs.setParent(&tavola);
    tavola.setScreenReader(&screenReader);
    EndSignals endSignals;
    QObject::connect(&endSignals, &EndSignals::received, &tavola,
                     [&tavola](int signalNumber) { tavola.endNow(128 + signalNumber); });
    agent.setOwner(&tavola);
    QObject::connect(&tavola, &Tavola::keepClearChanged, [&agent](const QList<QRect> &areas) { agent.setKeepClear(areas); });
    QObject::connect(&tavola, &Tavola::wizardOffsetChanged, [&agent](const QPoint &offset) { agent.setOrigin(offset); });
    tavola.placeOnScreen();
    tavola.start();
    // The wizard's first words come once the event loop runs; by then the
    // first look for a screen reader has had all the time of the name box.
    agent.setMuted(screenReader.running());
    if (const std::optional<int> status = program.endedWith())
        return *status;
    return app.exec();
}
