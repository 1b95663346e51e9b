#include "FactLevel.h"

FactLevel::Level FactLevel::of(const Measures::Fact &fact)
{
    if (fact.tries == 0 || !fact.shareRight)
        return Level::Untried;
    if (fact.sure)
        return Level::Sure;
    return *fact.shareRight >= nearlyFrom ? Level::Nearly : Level::Weak;
}

// Light enough for black text at any size, and told apart by lightness too.
QColor FactLevel::colour(Level level)
{
    static const QColor colours[] = {QColor(0xe0, 0xe0, 0xe0), QColor(0xf4, 0xa6, 0xa6),
                                     QColor(0xf7, 0xe0, 0x8a), QColor(0x9c, 0xdc, 0x9c)};
    return colours[int(level)];
}

QString FactLevel::word(Level level)
{
    static const char *const words[] = {"non provato", "da ripassare", "quasi", "sicuro"};
    return QString::fromUtf8(words[int(level)]);
}

QString FactLevel::legend()
{
    return QStringLiteral("Verde: sicuro (esatto entro 3 s in almeno 2 degli ultimi 3 tentativi) · "
                          "giallo: quasi (almeno 3 esatte su 4) · rosso: da ripassare · grigio: non provato");
}
