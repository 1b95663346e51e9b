#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QString>

// A spoken word: where it is in the text (in UTF-16 units) and when it
// starts in the audio.
struct SpokenWord
{
    int position = 0;
    int length = 0;
    qint64 atMs = 0;
};

// One synthesised utterance, whole in memory: 16-bit signed mono samples.
struct Clip
{
    QByteArray samples;
    int sampleRate = 22050;
    QList<SpokenWord> words;
    QString error;

    qint64 sampleCount() const { return samples.size() / 2; }
    qint64 durationMs() const;
    // Root mean square of the samples in [fromMs, fromMs + spanMs), 0 to 1.
    double loudness(qint64 fromMs, qint64 spanMs) const;
    // The word being said at the moment, or -1 before the first.
    int wordAt(qint64 ms) const;
};

Q_DECLARE_METATYPE(Clip)
