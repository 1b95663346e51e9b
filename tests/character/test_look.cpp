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
        QCoreApplication::processEvents();
        h.clock.advance(1);
        h.clock.advance(atMs);
        return h.wizard->grab().toImage();
    }

private slots:
    void theWizardIsOpaqueOnATransparentWindowAtEveryScale()
    {
        const QImage image = frameOf(QString(), 0);
        const qreal scale = qApp->devicePixelRatio();
        QCOMPARE(image.height(), qRound(205 * scale));
        QVERIFY(image.hasAlphaChannel());
        for (const QPoint corner : {QPoint(0, 0), QPoint(image.width() - 1, 0), QPoint(0, image.height() - 1),
                                    QPoint(image.width() - 1, image.height() - 1)})
            QCOMPARE(qAlpha(image.pixel(corner)), 0);
        // The middle of the robe.
        QCOMPARE(qAlpha(image.pixel(image.width() / 2, image.height() * 2 / 3)), 255);
    }

    void everyAnimationLooksDifferent()
    {
        const QStringList animations = {"", "Announce", "Greet", "congratulate", "domagic1", "domagic2"};
        QList<QImage> frames;
        for (const QString &animation : animations)
            frames << frameOf(animation, 600);
        for (int i = 0; i < frames.size(); ++i)
            for (int j = i + 1; j < frames.size(); ++j)
                QVERIFY2(frames[i] != frames[j], qPrintable(animations[i] + " = " + animations[j]));
    }

    void withoutACompositorTheWindowTakesTheWizardsOutline()
    {
        CharacterHarness h;
        CharacterWindow wizard(QStringLiteral("Merlin"), Figure::load(QStringLiteral(":/characters/merlin/merlin.json")),
                               h.clock, h.audio, h.voice, false);
        wizard.setHeight(300); // one pixel per unit of the art
        wizard.Show();
        const auto settle = [&] {
            for (int i = 0; i < 200 && wizard.pending() > 0; ++i) {
                QCoreApplication::processEvents();
                h.clock.advance(20);
            }
        };
        settle();
        QVERIFY(!wizard.testAttribute(Qt::WA_TranslucentBackground));
        const QRegion standing = wizard.mask();
        // The art's units start 20 to the left of the window.
        const auto inside = [](const QRegion &mask, int x, int y) { return mask.contains(QPoint(x + 20, y)); };
        QVERIFY(inside(standing, 100, 200)); // the robe
        QVERIFY(!inside(standing, -20, 0));
        QVERIFY(!inside(standing, 219, 299));
        QVERIFY(!inside(standing, 45, 292)); // the faint shadow
        wizard.Play(QStringLiteral("Greet"));
        QCoreApplication::processEvents();
        h.clock.advance(1);
        h.clock.advance(500);
        QVERIFY(wizard.mask() != standing); // the raised arm
        settle();
        QCOMPARE(wizard.mask(), standing);
        wizard.hide();
    }
};

QTEST_MAIN(TestLook)
#include "test_look.moc"
