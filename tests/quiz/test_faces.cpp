#include "Faces.h"
#include "FakeCharacters.h"
#include "FakeDialogs.h"
#include "FakeProgram.h"
#include "FakeRandom.h"
#include "FormLabel.h"
#include "PictureButton.h"
#include "Tavola.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QLineEdit>
#include <QTest>

#include <functional>

using Control = std::function<QWidget *(Tavola &)>;
Q_DECLARE_METATYPE(Control)

namespace {
QString face(const QFont &font)
{
    const QFontInfo drawn(font);
    return QStringLiteral("%1 %2 %3px").arg(drawn.family(), drawn.styleName()).arg(drawn.pixelSize());
}
} // namespace

// The window finds its faces its own quick way; it must draw with the very
// faces the toolkit picks for the names they are known by.
class TestFaces : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Faces::install(); }

    void eachControlIsDrawnWithTheFaceItsNameStandsFor_data()
    {
        QTest::addColumn<Control>("control");
        QTest::addColumn<QString>("named");
        // Debian's metric-compatible face, where the named one is not installed.
        QTest::addColumn<QString>("standIn");
        const QString serif = "Times New Roman", sans = "Arial", system = "MS Sans Serif";
        QTest::newRow("a counter's heading") << Control([](Tavola &t) { return t.Label6; }) << serif << "Liberation Serif";
        QTest::newRow("a counter, bold") << Control([](Tavola &t) { return t.lblScore; }) << serif << "Liberation Serif";
        QTest::newRow("the clock's heading, smaller") << Control([](Tavola &t) { return t.Label11; }) << serif << "Liberation Serif";
        QTest::newRow("an operand, large and bold") << Control([](Tavola &t) { return t.lblNum1; }) << sans << "Liberation Sans";
        QTest::newRow("the answer box") << Control([](Tavola &t) { return t.Text3; }) << sans << "Liberation Sans";
        QTest::newRow("the clock") << Control([](Tavola &t) { return t.lblconto; }) << "Arial Black" << "Liberation Sans";
        QTest::newRow("the verdict, bold italic") << Control([](Tavola &t) { return t.lblMessage; }) << system << "Liberation Sans";
        QTest::newRow("a button, small and bold") << Control([](Tavola &t) { return t.cmdNext; }) << system << "Liberation Sans";
        QTest::newRow("the pupil's heading") << Control([](Tavola &t) { return t.Label14; }) << system << "Liberation Sans";
        QTest::newRow("the record's holder") << Control([](Tavola &t) { return t.lblnome; }) << system << "Liberation Sans";
    }
    void eachControlIsDrawnWithTheFaceItsNameStandsFor()
    {
        QFETCH(Control, control);
        QFETCH(QString, named);
        QFETCH(QString, standIn);
        FakeCharacters agent;
        FakeDialogs dialogs;
        FakeProgram program;
        FakeRandom random;
        Tavola t(agent, dialogs, program, random);
        const QFont used = control(t)->font();
        QFont asked(named);
        asked.setPointSizeF(used.pointSizeF());
        asked.setWeight(used.weight());
        asked.setItalic(used.italic());
        QCOMPARE(face(used), face(asked));
        if (!QFontDatabase::hasFamily(named) && QFontDatabase::hasFamily(standIn))
            QCOMPARE(QFontInfo(used).family(), standIn);
    }
};

QTEST_MAIN(TestFaces)
#include "test_faces.moc"
