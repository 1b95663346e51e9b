#pragma once

#include "Voice.h"

#include <QSet>

// The Italian voice of espeak-ng, synthesised into memory.
class EspeakVoice : public Voice
{
    Q_OBJECT

public:
    explicit EspeakVoice(QObject *parent = nullptr);

    quint64 synthesize(const QString &text) override;

private:
    QSet<quint64> m_waiting;
};
