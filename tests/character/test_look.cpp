#include "CharacterHarness.h"
#include "Figure.h"

#include <QTest>

// What the pupil sees of the wizard, grabbed as the window paints it.
class TestLook : public QObject
{
    Q_OBJECT

    static QImage frameOf(const QString &animation, qint64 atMs)
    {
        CharacterHarness h;
        h.wizard->setHeight(205);
        h.wizard->Show();
        h.runQueue();
        if (!animation.isEmpty())
            h.wizard->Play(animation);
        h.advance(atMs);
        return h.wizard->grab().toImage();
    }

private slots:
    void theWizardIsOpaqueOnATransparentWindowAndEachAnimationLooksItsOwn()
    {
        const QStringList animations = {"", "Announce", "Greet", "congratulate", "domagic1", "domagic2"};
        QList<QImage> frames;
        for (const QString &animation : animations)
            frames << frameOf(animation, 600);
        const QImage &rest = frames.first();
        QCOMPARE(rest.height(), qRound(205 * qApp->devicePixelRatio()));
        // Clear corners, and the middle of the robe solid.
        QCOMPARE(qAlpha(rest.pixel(0, 0)) + qAlpha(rest.pixel(rest.width() - 1, rest.height() - 1)), 0);
        QCOMPARE(qAlpha(rest.pixel(rest.width() / 2, rest.height() * 2 / 3)), 255);
        for (int i = 0; i < frames.size(); ++i)
            for (int j = i + 1; j < frames.size(); ++j)
                QVERIFY2(frames[i] != frames[j], qPrintable(animations[i] + " = " + animations[j]));
    }

    void theWizardBlinksWhileHeWaits()
    {
        CharacterHarness h;
        h.wizard->Show();
        h.runQueue();
        const QImage rest = h.wizard->grab().toImage();
        bool blinked = false;
        for (int i = 0; i < 400 && !blinked; ++i) { // 8 s, longer than any gap between blinks
            h.advance(20);
            blinked = h.wizard->grab().toImage() != rest;
        }
        QVERIFY(blinked);
    }

    void withoutACompositorTheWindowTakesTheWizardsOutline()
    {
        CharacterHarness h;
        CharacterWindow outlined(QStringLiteral("Merlin"), Figure::load(":/characters/merlin/merlin.json"), h.clock,
                                 h.sound, h.voice, false);
        h.wizard = &outlined; // at the art's own size, one pixel per unit
        h.wizard->Show();
        h.runQueue();
        const QRegion standing = outlined.mask();
        // The art's units start 20 to the left of the window.
        QVERIFY(standing.contains(QPoint(120, 200))); // the robe
        QVERIFY(!standing.contains(QPoint(65, 292))); // the faint shadow
        h.wizard->Play(QStringLiteral("Greet"));
        h.advance(500);
        QVERIFY(outlined.mask() != standing); // the raised arm
        h.runQueue();
        QCOMPARE(outlined.mask(), standing);
    }
};

QTEST_MAIN(TestLook)
#include "test_look.moc"
