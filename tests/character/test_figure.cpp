#include "Failure.h"
#include "Figure.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray &art();
const QByteArray &manifest();

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestFigure : public QObject
{
    Q_OBJECT

private slots:
    void aBrokenCharacterFileFailsSayingWhatIsWrong_data()
    {
        // Each row breaks the working manifest in one place; with nothing to
        // replace there is no file at all.
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << QByteArray() << QByteArray() << "il file non esiste";
        QTest::newRow("not json") << manifest() << QByteArray("{ \"art\": ") << "non è un JSON valido";
        QTest::newRow("an array") << manifest() << QByteArray("[1, 2, 3]") << "manca il formato";
        QTest::newRow("another format") << QByteArray("character 1") << QByteArray("character 2") << "manca il formato";
        QTest::newRow("no art named") << QByteArray("\"art\": \"mago.svg\",") << QByteArray() << "manca il nome del disegno";
        QTest::newRow("art missing") << QByteArray("\"mago.svg\"") << QByteArray("\"assente.svg\"")
                                     << "manca il disegno \"assente.svg\"";
        QTest::newRow("art not svg") << QByteArray("\"mago.svg\"") << QByteArray("\"mago.json\"")
                                     << "\"mago.json\" non è un SVG valido";
        QTest::newRow("no pivot") << QByteArray("\"pivot\": [2, 4],") << QByteArray() << "manca il perno della figura";
        QTest::newRow("no parts") << QByteArray("\"parts\": [") << QByteArray("\"parts\": [], \"x\": [")
                                  << "non ci sono parti";
        QTest::newRow("part not in the art") << QByteArray("{\"id\": \"body\",") << QByteArray("{\"id\": \"coda\",")
                                             << "la parte \"coda\" non c'è nel disegno";
        QTest::newRow("parent after its child")
            << QByteArray("\"id\": \"eyes\", \"parent\": \"body\"") << QByteArray("\"id\": \"eyes\", \"parent\": \"lids\"")
            << "la parte \"eyes\" segue \"lids\", che non la precede";
        QTest::newRow("part twice") << QByteArray("{\"id\": \"lids\",") << QByteArray("{\"id\": \"eyes\",")
                                    << "la parte \"eyes\" compare due volte";
        QTest::newRow("unknown rest property") << QByteArray("{\"opacity\": 1}") << QByteArray("{\"colore\": 1}")
                                               << "la parte \"eyes\" ha la proprietà sconosciuta \"colore\"";
        QTest::newRow("eyelids not a part") << QByteArray("\"eyelids\": \"lids\"") << QByteArray("\"eyelids\": \"ciglia\"")
                                            << "\"eyelids\" non nomina una parte";
        QTest::newRow("no appearing") << QByteArray("\"show\"") << QByteArray("\"mostra\"")
                                      << "l'animazione \"show\" non ha una durata";
        QTest::newRow("no duration") << QByteArray("\"duration\": 500") << QByteArray("\"duration\": 0")
                                     << "l'animazione \"Wave\" non ha una durata";
        QTest::newRow("no tracks") << QByteArray("\"tracks\": [{\"part\": \"body\"")
                                   << QByteArray("\"tracks\": [], \"x\": [{\"part\": \"body\"")
                                   << "l'animazione \"Wave\" non ha tracce";
        QTest::newRow("unknown part moved") << QByteArray("{\"part\": \"body\"") << QByteArray("{\"part\": \"coda\"")
                                            << "muove la parte sconosciuta \"coda\"";
        QTest::newRow("unknown property moved") << QByteArray("\"rotate\"") << QByteArray("\"gira\"")
                                                << "ha una traccia senza una proprietà nota";
        QTest::newRow("keys out of order") << QByteArray("[[0, 0], [500, 10]]") << QByteArray("[[500, 10], [0, 0]]")
                                           << "in ordine di tempo";
        QTest::newRow("key not a pair") << QByteArray("[500, 10]]") << QByteArray("[500]]") << "in ordine di tempo";
        QTest::newRow("no keys") << QByteArray("[[0, 0], [500, 10]]") << QByteArray("[]")
                                 << "l'animazione \"Wave\" ha una traccia senza chiavi";
    }
    void aBrokenCharacterFileFailsSayingWhatIsWrong()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath("mago.json");
        QVERIFY(write(dir.filePath("mago.svg"), art()));
        if (!from.isEmpty()) {
            QCOMPARE(manifest().count(from), 1);
            QVERIFY(write(path, QByteArray(manifest()).replace(from, to)));
        }
        try {
            Figure::load(path);
            QFAIL("no failure");
        } catch (const Failure &failure) {
            QVERIFY2(failure.message().contains(path), qPrintable(failure.message()));
            QVERIFY2(failure.message().contains(reason), qPrintable(failure.message()));
        }
    }

    void partsAreDrawnAtTheirTrueSize_data()
    {
        QTest::addColumn<int>("scale");
        QTest::newRow("1") << 1;
        QTest::newRow("8") << 8;
        QTest::newRow("24") << 24;
    }
    void partsAreDrawnAtTheirTrueSize()
    {
        QFETCH(int, scale);
        QTemporaryDir dir;
        QVERIFY(write(dir.filePath("mago.svg"), art()));
        QVERIFY(write(dir.filePath("mago.json"), manifest()));
        const auto figure = Figure::load(dir.filePath("mago.json"));
        QImage image(4 * scale, 4 * scale, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            figure->paint(p, image.rect(), figure->rest());
        }
        // Across the middle of the body, which spans 1.25 units from 1.
        const int row = int(1.6 * scale);
        int first = -1;
        int last = -1;
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, row)) >= 128) {
                last = x;
                if (first < 0)
                    first = x;
            }
        }
        QVERIFY2(qAbs(first - scale) <= 1 && qAbs(last + 1 - 2.25 * scale) <= 1,
                 qPrintable(QStringLiteral("%1 to %2").arg(first).arg(last)));
    }
};

QTEST_MAIN(TestFigure)
#include "test_figure.moc"

// Kept below the test class: moc does not read raw strings.
namespace {

// A body of 1.25 units square, so its sprite's size in units is not whole
// at most scales.
const QByteArray &art()
{
    static const QByteArray bytes = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 4 4">
  <rect id="body" x="1" y="1" width="1.25" height="1.25" fill="#000"/>
  <circle id="eyes" cx="3" cy="3" r="0.2" fill="#000"/>
  <circle id="lids" cx="3" cy="3" r="0.2" fill="#000"/>
</svg>)";
    return bytes;
}

const QByteArray &manifest()
{
    static const QByteArray bytes = R"({
  "format": "decalumo-character 1",
  "art": "mago.svg",
  "pivot": [2, 4],
  "parts": [
    {"id": "body", "pivot": [1, 2]},
    {"id": "eyes", "parent": "body", "rest": {"opacity": 1}},
    {"id": "lids", "parent": "body", "rest": {"opacity": 0}}
  ],
  "eyelids": "lids",
  "mouthOpen": "eyes",
  "mouthClosed": "eyes",
  "show": {"duration": 300, "tracks": [{"part": "figure", "property": "scale", "keys": [[0, 0], [300, 1]]}]},
  "glide": {"duration": 400, "tracks": [{"part": "figure", "property": "dy", "keys": [[0, 0], [400, 0]]}]},
  "animations": {
    "Wave": {"duration": 500, "tracks": [{"part": "body", "property": "rotate", "keys": [[0, 0], [500, 10]]}]}
  }
})";
    return bytes;
}

} // namespace
