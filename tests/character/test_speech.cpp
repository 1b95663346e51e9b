#include "EspeakVoice.h"

#include <QSignalSpy>
#include <QTest>

// The real Italian voice, synthesised into memory with no sound device involved.
class TestSpeech : public QObject
{
    Q_OBJECT

private slots:
    void italianTextBecomesAudibleSpeechWithWordTimes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("minMs");
        QTest::addColumn<int>("maxMs");
        QTest::newRow("a question") << "10 per sette" << 600 << 2000;
        QTest::newRow("the announcement")
            << "Allora attenzione, iniziamo la nostra avventura con la tabellina del 10. Io detto e tu scrivi il "
               "risultato nello spazio sotto di me. Mi raccomando inserisci il risultato e premi invio e poi "
               "aspetta che io finisca di parlare e premi ancora invio per avere la domanda successiva"
            << 12000 << 30000;
    }
    void italianTextBecomesAudibleSpeechWithWordTimes()
    {
        QFETCH(QString, text);
        QFETCH(int, minMs);
        QFETCH(int, maxMs);
        EspeakVoice voice;
        QSignalSpy ready(&voice, &Voice::ready);
        const quint64 ticket = voice.synthesize(text);
        QVERIFY(ready.wait(20000));
        QCOMPARE(ready.at(0).at(0).value<quint64>(), ticket);
        const Clip clip = ready.at(0).at(1).value<Clip>();
        QVERIFY2(clip.error.isEmpty(), qPrintable(clip.error));
        const qint64 ms = clip.durationMs();
        QVERIFY2(ms >= minMs && ms <= maxMs && clip.loudness(0, ms) > 0.01, qPrintable(QString::number(ms)));
        QCOMPARE(clip.words.size(), text.split(QLatin1Char(' ')).size());
        for (int i = 1; i < clip.words.size(); ++i)
            QVERIFY(clip.words[i].atMs > clip.words[i - 1].atMs
                    && clip.words[i].position > clip.words[i - 1].position);
        // The whole text was spoken, up to its last word.
        const SpokenWord &last = clip.words.last();
        QCOMPARE(last.position + last.length, text.size());
        QVERIFY(last.atMs < ms);
    }
};

QTEST_GUILESS_MAIN(TestSpeech)
#include "test_speech.moc"
