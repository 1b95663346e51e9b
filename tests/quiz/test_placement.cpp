#include "WindowPlacement.h"

#include <QTest>

// Where the window goes, whatever frame the window manager draws around it.
class TestPlacement : public QObject
{
    Q_OBJECT

private slots:
    void theFrameStaysOnTheFreeAreaAndTheClientAreaMovesAsLittleAsItMust_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QMargins>("frame");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QPoint>("offset");
        // A 785 by 580 window whose client area starts below a 24-pixel menu
        // bar, wanted at (4, 46).
        const QRect screen(0, 0, 1280, 1024);
        QTest::newRow("the frame fits: exactly where wanted") << screen << QMargins(1, 20, 1, 1) << QPoint(4, 22) << QPoint(0, 0);
        QTest::newRow("a taller title bar: down by the difference") << screen << QMargins(4, 30, 4, 4) << QPoint(4, 30) << QPoint(0, 8);
        QTest::newRow("a top panel: below it") << QRect(0, 28, 1280, 996) << QMargins(1, 20, 1, 1) << QPoint(4, 48) << QPoint(0, 26);
        QTest::newRow("a thick left border: to the right") << screen << QMargins(8, 20, 8, 8) << QPoint(8, 22) << QPoint(4, 0);
        QTest::newRow("a screen too short for the window: the title bar stays on it")
            << QRect(0, 0, 800, 500) << QMargins(1, 20, 1, 1) << QPoint(4, 20) << QPoint(0, -2);
    }
    void theFrameStaysOnTheFreeAreaAndTheClientAreaMovesAsLittleAsItMust()
    {
        QFETCH(QRect, available);
        QFETCH(QMargins, frame);
        QFETCH(QPoint, at);
        QFETCH(QPoint, offset);
        const auto p = WindowPlacement::place(available, frame, QSize(785, 580), QPoint(0, 24), QPoint(4, 46));
        QCOMPARE(p.geometry, QRect(at, QSize(785, 580)));
        QCOMPARE(p.offset, offset);
    }
};

QTEST_MAIN(TestPlacement)
#include "test_placement.moc"
