#include "leadingNumber.h"

#include <QTest>

#include <cfloat>

class TestLeadingNumber : public QObject
{
    Q_OBJECT

private slots:
    void readsTheNumberTheTextBeginsWith_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("stored score") << "7\r\n" << 7.0;
        QTest::newRow("empty first run") << "" << 0.0;
        QTest::newRow("leading blanks, trailing letters") << "  12abc" << 12.0;
        QTest::newRow("negative") << "-3" << -3.0;
        QTest::newRow("exponent") << "1.5e2" << 150.0;
        QTest::newRow("D exponent, negative") << "25D-1" << 2.5;
        QTest::newRow("second point stops") << "1.2.3" << 1.2;
        QTest::newRow("blanks, tabs, line feeds inside") << "\t1 2\n3" << 123.0;
        QTest::newRow("CR stops") << "1\r2" << 1.0;
        QTest::newRow("two signs") << "+-3" << 0.0;
        QTest::newRow("non-ASCII digits are not digits") << QString::fromUtf8("٣") << 0.0;
        QTest::newRow("long run of digits") << QString(100000, u'9') << DBL_MAX;
        QTest::newRow("huge exponent") << "1e99999999999999999999" << DBL_MAX;
        QTest::newRow("many zeros after the point") << "0." + QString(5000, u'0') + "1" << 0.0;
    }
    void readsTheNumberTheTextBeginsWith()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(leadingNumber(text), value);
    }
};

QTEST_APPLESS_MAIN(TestLeadingNumber)
#include "test_leadingnumber.moc"
