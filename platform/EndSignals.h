#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM and SIGHUP (a logout, a shutdown, a closed terminal) may come at any
// instant, in the middle of a write too. The handler only notes the signal;
// `received` tells the event loop about it once control is back there, so the
// program ends through its own code instead of dying where it stands.
class EndSignals : public QObject
{
    Q_OBJECT

public:
    explicit EndSignals(QObject *parent = nullptr);
    ~EndSignals() override;

signals:
    void received(int signalNumber);

private:
    void readPending();

    QSocketNotifier *m_notifier = nullptr;
};
