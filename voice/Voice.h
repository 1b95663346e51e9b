#pragma once

#include "Clip.h"

#include <QObject>

// Turns text into a clip, off the caller's thread; the clip comes back
// through ready() on the thread that asked.
class Voice : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Returns the ticket that ready() will carry.
    virtual quint64 synthesize(const QString &text) = 0;

signals:
    void ready(quint64 ticket, const Clip &clip);
};
