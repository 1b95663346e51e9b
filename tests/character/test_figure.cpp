#include "Failure.h"
#include "Figure.h"
#include "FileBytes.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray &manifest();
void addBrokenManifests();
// The art, and the manifest unless it is empty; returns the manifest's path.
QString writeCharacter(const QTemporaryDir &dir, const QByteArray &json);

} // namespace

class TestFigure : public QObject
{
    Q_OBJECT

private slots:
    void aBrokenCharacterFileFailsSayingWhatIsWrong_data() { addBrokenManifests(); }
    void aBrokenCharacterFileFailsSayingWhatIsWrong()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(QString, reason);
        // Each change breaks the manifest in one place only; with nothing to
        // replace there is no manifest at all.
        QVERIFY(from.isEmpty() || manifest().count(from) == 1);
        QTemporaryDir dir;
        const QString path = writeCharacter(dir, from.isEmpty() ? from : QByteArray(manifest()).replace(from, to));
        try {
            Figure::load(path);
            QFAIL("no failure");
        } catch (const Failure &failure) {
            QVERIFY2(failure.message().contains(path) && failure.message().contains(reason),
                     qPrintable(failure.message()));
        }
    }

    void partsAreDrawnAtTheirTrueSize_data()
    {
        QTest::addColumn<int>("scale");
        for (const int scale : {1, 8, 24})
            QTest::addRow("%d", scale) << scale;
    }
    void partsAreDrawnAtTheirTrueSize()
    {
        QFETCH(int, scale);
        QTemporaryDir dir;
        const auto figure = Figure::load(writeCharacter(dir, manifest()));
        QImage image(4 * scale, 4 * scale, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        figure->paint(painter, image.rect(), figure->rest());
        painter.end();
        // Across the middle of the body, which spans 1.25 units from 1.
        QList<int> opaque;
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, int(1.6 * scale))) >= 128)
                opaque << x;
        QVERIFY2(qAbs(opaque.value(0) - scale) <= 1 && qAbs(opaque.size() - 1.25 * scale) <= 1,
                 qPrintable(QStringLiteral("%1 from %2").arg(opaque.size()).arg(opaque.value(0))));
    }
};

QTEST_MAIN(TestFigure)
#include "test_figure.moc"

// Kept below the test class: moc does not read raw strings.
namespace {

// A body of 1.25 units square, so its sprite's size in units is not whole
// at most scales.
const QByteArray art = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 4 4">
  <rect id="body" x="1" y="1" width="1.25" height="1.25"/>
  <circle id="eyes" cx="3" cy="3" r="0.2"/><circle id="lids" cx="3" cy="3" r="0.2"/></svg>)";

const QByteArray &manifest()
{
    static const QByteArray bytes = R"({"format": "decalumo-character 1", "art": "mago.svg", "pivot": [2, 4],
  "parts": [{"id": "body", "pivot": [1, 2]}, {"id": "eyes", "parent": "body", "rest": {"opacity": 1}},
            {"id": "lids", "parent": "body", "rest": {"opacity": 0}}],
  "eyelids": "lids", "mouthOpen": "eyes", "mouthClosed": "eyes",
  "show": {"duration": 300, "tracks": [{"part": "figure", "property": "scale", "keys": [[0, 0], [300, 1]]}]},
  "glide": {"duration": 400, "tracks": [{"part": "figure", "property": "dy", "keys": [[0, 0], [400, 0]]}]},
  "animations": {"Wave": {"duration": 500,
                          "tracks": [{"part": "body", "property": "rotate", "keys": [[0, 0], [500, 10]]}]}}
})";
    return bytes;
}

QString writeCharacter(const QTemporaryDir &dir, const QByteArray &json)
{
    writeBytes(dir.filePath("mago.svg"), art);
    if (!json.isEmpty())
        writeBytes(dir.filePath("mago.json"), json);
    return dir.filePath("mago.json");
}

void addBrokenManifests()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<QString>("reason");
    const auto row = [](const char *name, const char *from, const char *to, const char *reason) {
        QTest::newRow(name) << QByteArray(from) << QByteArray(to) << QString::fromUtf8(reason);
    };
    row("missing", "", "", "il file non esiste");
    row("not json", R"("format":)", R"("format")", "non è un JSON valido");
    row("another format", "character 1", "character 2", "manca il formato");
    row("art missing", R"("mago.svg")", R"("assente.svg")", R"(manca il disegno "assente.svg")");
    row("art not svg", R"("mago.svg")", R"("mago.json")", R"("mago.json" non è un SVG valido)");
    row("no parts", R"("parts": [)", R"("parts": [], "x": [)", "non ci sono parti");
    row("part not in the art", R"({"id": "body",)", R"({"id": "coda",)", R"(la parte "coda" non c'è nel disegno)");
    row("parent later", R"("eyes", "parent": "body")", R"("eyes", "parent": "lids")", R"("eyes" segue "lids")");
    row("unknown rest", R"({"opacity": 1})", R"({"colore": 1})", R"("eyes" ha la proprietà sconosciuta "colore")");
    row("no duration", R"("duration": 500)", R"("duration": 0)", R"(l'animazione "Wave" non ha una durata)");
    row("unknown part moved", R"({"part": "body")", R"({"part": "coda")", R"(muove la parte sconosciuta "coda")");
    row("keys out of order", "[[0, 0], [500, 10]]", "[[500, 10], [0, 0]]", "in ordine di tempo");
    row("no keys", "[[0, 0], [500, 10]]", "[]", R"(l'animazione "Wave" ha una traccia senza chiavi)");
}

} // namespace
