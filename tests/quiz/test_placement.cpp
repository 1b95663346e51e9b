#include "Balloon.h"
#include "BalloonPlacement.h"
#include "ClientArea.h"
#include "FakeCharacters.h"
#include "FakeDialogs.h"
#include "FakeProgram.h"
#include "FakeRandom.h"
#include "Tavola.h"
#include "WindowPlacement.h"

#include <QScreen>
#include <QTest>

namespace {

using Placed = std::function<QString()>;

QString text(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// The wizard at (300, 100), 100 by 200: his mouth is at y 175, his face runs
// from x 330 to 370.
Placed balloon(const QList<QSize> &sizes, const QList<QRect> &keepClear)
{
    return [=] {
        const auto c = BalloonPlacement::choose(QRect(300, 100, 100, 200), sizes, QRect(0, 0, 1000, 1000), keepClear);
        return text(c.rect) + (c.side == BalloonPlacement::Right ? " right" : " left") + " wrap " + QString::number(c.size);
    };
}

// A 785 by 580 window whose client area starts below a 24-pixel menu bar,
// wanted at (4, 46).
Placed window(const QRect &available, const QMargins &frame)
{
    return [=] {
        const auto p = WindowPlacement::place(available, frame, QSize(785, 580), QPoint(0, 24), QPoint(4, 46));
        return text(p.geometry) + QStringLiteral(" moved %1,%2").arg(p.offset.x()).arg(p.offset.y());
    };
}

// The wizard at (250, 175), 164 by 205, on the window as it stands on
// screen, its client area at (4, 46): the balloon with his words.
Placed said(const QString &words)
{
    return [=] {
        // The clock, the verdict, the question and the answer, which the pupil reads.
        const QList<QRect> read = {{622, 94, 121, 57}, {428, 182, 361, 39}, {260, 46, 330, 85}, {196, 374, 489, 89}};
        const QRect wizard(250, 175, 164, 205);
        Balloon balloon(false, nullptr);
        balloon.setKeepClear(read + QList<QRect>{{4, 46, 225, 297}});
        balloon.say(words, false);
        balloon.placeBeside(wizard);
        const QRect at = balloon.geometry();
        const bool clear = std::none_of(read.begin(), read.end(), [&](const QRect &r) { return r.intersects(at); });
        return clear && at.intersects(wizard.adjusted(-40, 0, 40, 0)) ? QStringLiteral("beside him, clear") : text(at);
    };
}

// The window wired to fakes, placed in the first frame before it is shown and
// in each of the others after, then moved by the manager: where the wizard
// stands, as asked for and offset, from the client area's corner. His place,
// (250, 175), expects that corner at (4, 46).
Placed wizard(QList<QMargins> frames, QPoint managerMoves = {})
{
    return [=]() mutable {
        FakeCharacters agent;
        FakeDialogs dialogs;
        FakeProgram program;
        FakeRandom random;
        Tavola t(agent, dialogs, program, random);
        QPoint offset;
        QObject::connect(&t, &Tavola::wizardOffsetChanged, [&offset](const QPoint &o) { offset = o; });
        t.placeFor(frames.takeFirst());
        t.start();
        for (const QMargins &frame : frames)
            t.placeFor(frame);
        t.move(t.pos() + managerMoves);
        QCoreApplication::processEvents();
        const QStringList xy = agent.calls.filter(QStringLiteral("MoveTo ")).value(0).split(u' ');
        const QPoint stands = QPoint(xy.value(1).toInt(), xy.value(2).toInt()) + offset - t.client->mapToGlobal(QPoint());
        const bool onScreen = t.frameGeometry().top() >= t.screen()->availableGeometry().top();
        return QStringLiteral("%1,%2").arg(stands.x()).arg(stands.y()) + (onScreen ? "" : " off the screen");
    };
}

} // namespace

Q_DECLARE_METATYPE(Placed)

// Where the window goes, whatever frame the window manager draws around it,
// and where the speech balloon goes when parts of the screen must stay visible.
class TestPlacement : public QObject
{
    Q_OBJECT

private slots:
    void eachGoesWhereItCoversNothingImportantAndMovesAsLittleAsItMust_data()
    {
        QTest::addColumn<Placed>("placed");
        QTest::addColumn<QString>("expected");
        const QList<QSize> one{{200, 80}};
        const QRect rightOfFace(360, 0, 600, 400);
        const QRect screen(0, 0, 1280, 1024);
        QTest::newRow("balloon, nothing to avoid: right of the face, point at the mouth")
            << balloon(one, {}) << "370,96 200x80 right wrap 0";
        QTest::newRow("balloon, the right side taken: left of the face")
            << balloon(one, {rightOfFace}) << "130,96 200x80 left wrap 0";
        QTest::newRow("balloon, a line beside the mouth: just above it")
            << balloon(one, {{360, 120, 600, 40}}) << "370,40 200x80 right wrap 0";
        QTest::newRow("balloon, too wide for either side: wrapped narrower")
            << balloon({{400, 80}, {200, 160}}, {rightOfFace, {0, 0, 100, 400}}) << "130,16 200x160 left wrap 1";
        QTest::newRow("balloon, no side free: covers the less important area")
            << balloon(one, {rightOfFace, {0, 0, 360, 400}}) << "130,96 200x80 left wrap 0";
        QTest::newRow("window, the frame fits: exactly where wanted")
            << window(screen, {1, 20, 1, 1}) << "4,22 785x580 moved 0,0";
        QTest::newRow("window, a taller title bar: down by the difference")
            << window(screen, {4, 30, 4, 4}) << "4,30 785x580 moved 0,8";
        QTest::newRow("window, a top panel: below it") << window({0, 28, 1280, 996}, {1, 20, 1, 1}) << "4,48 785x580 moved 0,26";
        QTest::newRow("window, a thick left border: to the right")
            << window(screen, {8, 20, 8, 8}) << "8,22 785x580 moved 4,0";
        QTest::newRow("window, a screen too short for it: the title bar stays on it")
            << window({0, 0, 800, 500}, {1, 20, 1, 1}) << "4,20 785x580 moved 0,-2";
        QTest::newRow("balloon, the announcement: beside the wizard, off what the pupil reads")
            << said("Allora attenzione, iniziamo la nostra avventura con la tabellina del 10. Io detto e tu scrivi il "
                    "risultato nello spazio sotto di me. Mi raccomando inserisci il risultato e premi invio e poi "
                    "aspetta che io finisca di parlare e premi ancora invio per avere la domanda successiva")
            << "beside him, clear";
        // Frames in device-independent pixels: at scale 2 a manager's device pixels count half.
        const QMargins openbox(1, 22, 1, 5), kwin(0, 41, 0, 0);
        QTest::newRow("wizard, no window manager: on the band") << wizard({{}}) << "246,129";
        QTest::newRow("wizard, openbox's frame known beforehand: likewise") << wizard({openbox}) << "246,129";
        QTest::newRow("wizard, openbox's at scale 2: likewise") << wizard({{1, 11, 1, 3}}) << "246,129";
        QTest::newRow("wizard, KWin's, known only once shown: likewise") << wizard({{}, kwin}) << "246,129";
        QTest::newRow("wizard, KWin's at scale 2: likewise") << wizard({{}, {0, 21, 0, 0}}) << "246,129";
        QTest::newRow("wizard, KWin's, then none again: likewise") << wizard({{}, kwin, {}}) << "246,129";
        QTest::newRow("wizard, a frame stated at half its height: likewise, once the window is lower")
            << wizard({{0, 18, 0, 0}}, {0, 19}) << "246,129";
        QTest::newRow("balloon, a two-line praise: likewise")
            << said("Esatto Luca 30 Sei sulla buona strada per diventare cavaliere") << "beside him, clear";
        QTest::newRow("balloon, a verdict: likewise") << said("Sbagliato 70") << "beside him, clear";
    }
    void eachGoesWhereItCoversNothingImportantAndMovesAsLittleAsItMust()
    {
        QFETCH(Placed, placed);
        QFETCH(QString, expected);
        QCOMPARE(placed(), expected);
    }
};

QTEST_MAIN(TestPlacement)
#include "test_placement.moc"
