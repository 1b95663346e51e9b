#include "numlett.h"

#include <QTest>

class TestNumlett : public QObject
{
    Q_OBJECT

private slots:
    void namesWholeNumbersAsOneItalianWord_data()
    {
        QTest::addColumn<double>("n");
        QTest::addColumn<QString>("word");
        const std::pair<double, const char *> rows[] = {
            {0, ""}, {1, "uno"}, {2, "due"}, {3, "tre"}, {4, "quattro"}, {5, "cinque"},
            {6, "sei"}, {7, "sette"}, {8, "otto"}, {9, "nove"}, {10, "dieci"},
            {17, "diciassette"}, {21, "ventuno"}, {28, "ventotto"}, {31, "trentuno"},
            {38, "trentotto"}, {91, "novantuno"}, {98, "novantotto"}, {99, "novantanove"},
            {100, "cento"}, {101, "centouno"}, {108, "centootto"}, {180, "centoottanta"},
            {200, "duecento"}, {900, "novecento"}, {1000, "mille"}, {1001, "milleuno"},
            {2000, "duemila"}, {2001, "duemilauno"}, {21000, "ventunomila"},
            {101000, "centounomila"}, {1000000, "unmilione"}, {1001000, "unmilionemille"},
            {2000000, "duemilioni"}, {2500000, "duemilionicinquecentomila"},
            {1000000000, "unmiliardo"}, {2000000000, "duemiliardi"},
            {2000000001, "duemiliardiuno"},
            {999999999999.0, "novecentonovantanovemiliardinovecentonovantanovemilioni"
                             "novecentonovantanovemilanovecentonovantanove"},
            {12.7, "dodici"}, {0.9, ""}, {-5, ""}, {-1000, ""},
            // Beyond the table's reach: an empty name rather than a crash.
            {1e12, ""}, {5e15, ""},
        };
        for (const auto &[n, word] : rows)
            QTest::addRow("%.1f", n) << n << QString::fromUtf8(word);
    }
    void namesWholeNumbersAsOneItalianWord()
    {
        QFETCH(double, n);
        QFETCH(QString, word);
        QCOMPARE(numlett(n), word);
    }
};

QTEST_APPLESS_MAIN(TestNumlett)
#include "test_numlett.moc"
