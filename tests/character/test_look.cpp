#include "CharacterHarness.h"

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
};

QTEST_MAIN(TestLook)
#include "test_look.moc"
