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
        QTest::addColumn<int>("words");
        QTest::newRow("a question") << "10 per sette" << 600 << 2000 << 3;
        QTest::newRow("the announcement")
            << "Allora attenzione, iniziamo la nostra avventura con la tabellina del 10. Io detto e tu scrivi il "
               "risultato nello spazio sotto di me. Mi raccomando inserisci il risultato e premi invio e poi "
               "aspetta che io finisca di parlare e premi ancora invio per avere la domanda successiva"
            << 12000 << 30000 << 48;
    }
    void italianTextBecomesAudibleSpeechWithWordTimes()
    {
        QFETCH(QString, text);
        QFETCH(int, minMs);
        QFETCH(int, maxMs);
        QFETCH(int, words);
        EspeakVoice voice;
        QSignalSpy ready(&voice, &Voice::ready);
        const quint64 ticket = voice.synthesize(text);
        QVERIFY(ready.wait(20000));
        QCOMPARE(ready.at(0).at(0).value<quint64>(), ticket);
        const Clip clip = ready.at(0).at(1).value<Clip>();
        QVERIFY2(clip.error.isEmpty(), qPrintable(clip.error));
        QVERIFY2(clip.durationMs() >= minMs && clip.durationMs() <= maxMs, qPrintable(QString::number(clip.durationMs())));
        QVERIFY(clip.loudness(0, clip.durationMs()) > 0.01);
        QCOMPARE(clip.words.size(), words);
        for (int i = 1; i < clip.words.size(); ++i)
            QVERIFY(clip.words[i].atMs > clip.words[i - 1].atMs && clip.words[i].position > clip.words[i - 1].position);
        // The whole text was spoken, up to its last word.
        const SpokenWord &last = clip.words.last();
        QCOMPARE(last.position + last.length, text.size());
        QVERIFY(last.atMs < clip.durationMs());
    }
};

QTEST_GUILESS_MAIN(TestSpeech)
#include "test_speech.moc"
