#include "Tavola.h"

#include "FormLabel.h"

#include <QTimer>

QString Tavola::clockCaption(qint16 hours, qint16 minutes, float seconds)
{
    const auto twoDigits = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
    return twoDigits(hours) + QLatin1Char(':') + twoDigits(minutes) + QLatin1Char(':') + twoDigits(int(seconds));
}

void Tavola::startClock()
{
    Timer1->start();
    clockHours = 0;
    clockMinutes = 7;
    clockSeconds = 0;
    secondsLeft = 420;
}

void Tavola::tick()
{
    // The clock runs on while leaving waits on its boxes, but must not leave twice.
    if (m_leaving)
        return;
    // The end is read off the caption, in the colon form ticks write; the start
    // caption "00.07.00" is written with dots, so it can never match.
    if (lblconto->caption() == QLatin1String("00:00:00")) {
        leave(Ending::TimeUp);
        return;
    }
    if (secondsLeft > 0) {
        if (clockSeconds == 0) {
            if (clockMinutes > 0) {
                --clockMinutes;
                clockSeconds = 60;
            } else if (clockHours > 0) {
                --clockHours;
                clockMinutes = 59;
                clockSeconds = 60;
            } else {
                clockHours = 0;
                clockMinutes = 0;
            }
        }
        clockSeconds -= 1;
        --secondsLeft;
        lblconto->setCaption(clockCaption(clockHours, clockMinutes, clockSeconds));
    }
}
