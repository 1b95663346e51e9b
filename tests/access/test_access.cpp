#include "Concealment.h"
#include "ScreenReaderWatch.h"

#include <QAccessible>
#include <QLineEdit>
#include <QTest>

class TestAccess : public QObject
{
    Q_OBJECT

private slots:
    void onlyAScreenReaderProcessCountsAsOne_data()
    {
        QTest::addColumn<QByteArray>("comm");
        QTest::addColumn<QByteArray>("cmdline");
        QTest::addColumn<bool>("reader");
        QTest::newRow("Orca by its script's name") << QByteArray("orca\n") << QByteArray("/usr/bin/python3\0/usr/bin/orca\0--replace\0", 42) << true;
        QTest::newRow("Orca started through the interpreter") << QByteArray("python3\n") << QByteArray("python3\0/usr/bin/orca\0", 22) << true;
        QTest::newRow("another script") << QByteArray("python3\n") << QByteArray("python3\0listener.py\0", 20) << false;
        QTest::newRow("a script in a folder named orca") << QByteArray("python3\n") << QByteArray("python3\0/home/orca/x.py\0", 24) << false;
        QTest::newRow("a program whose name only begins so") << QByteArray("orcaslicer\n") << QByteArray("orcaslicer\0", 11) << false;
        QTest::newRow("the accessibility registry") << QByteArray("at-spi2-registr\n") << QByteArray("/usr/libexec/at-spi2-registryd\0", 31) << false;
        QTest::newRow("a process gone meanwhile") << QByteArray() << QByteArray() << false;
    }
    void onlyAScreenReaderProcessCountsAsOne()
    {
        QFETCH(QByteArray, comm);
        QFETCH(QByteArray, cmdline);
        QFETCH(bool, reader);
        QCOMPARE(ScreenReaderWatch::isScreenReader(comm, cmdline), reader);
    }

    void aConcealedBoxShowsNoTextEvenIfItWasReadBefore()
    {
        QWidget window;
        auto *open = new QLineEdit(QStringLiteral("70"), &window);
        auto *secret = new QLineEdit(QStringLiteral("70"), &window);
        QVERIFY(QAccessible::queryAccessibleInterface(secret)->textInterface());
        Concealment::conceal(*secret);
        QAccessibleInterface *seen = QAccessible::queryAccessibleInterface(open);
        QAccessibleInterface *hidden = QAccessible::queryAccessibleInterface(secret);
        QVERIFY(seen->textInterface() && seen->textInterface()->text(0, 2) == QLatin1String("70"));
        QVERIFY(!hidden->textInterface());
        QCOMPARE(hidden->text(QAccessible::Value), QString());
    }
};

QTEST_MAIN(TestAccess)
#include "test_access.moc"
