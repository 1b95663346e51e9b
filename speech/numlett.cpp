#include "numlett.h"

#include <array>
#include <cmath>

namespace {

// Entry n + 1 names n for n up to 20; entry t + 19 names t tens.
const std::array<QString, 29> numberWords = {
    QString(),
    QString(), QStringLiteral("uno"), QStringLiteral("due"), QStringLiteral("tre"),
    QStringLiteral("quattro"), QStringLiteral("cinque"), QStringLiteral("sei"),
    QStringLiteral("sette"), QStringLiteral("otto"), QStringLiteral("nove"),
    QStringLiteral("dieci"), QStringLiteral("undici"), QStringLiteral("dodici"),
    QStringLiteral("tredici"), QStringLiteral("quattordici"), QStringLiteral("quindici"),
    QStringLiteral("sedici"), QStringLiteral("diciassette"), QStringLiteral("diciotto"),
    QStringLiteral("diciannove"), QStringLiteral("venti"), QStringLiteral("trenta"),
    QStringLiteral("quaranta"), QStringLiteral("cinquanta"), QStringLiteral("sessanta"),
    QStringLiteral("settanta"), QStringLiteral("ottanta"), QStringLiteral("novanta"),
};

void appendGroup(QString &result, double g)
{
    double c = g;
    if (c > 99) {
        const double h = std::floor(c / 100);
        c -= 100 * h;
        if (h != 1)
            result += numberWords[int(h) + 1];
        result += QStringLiteral("cento");
    }
    if (c <= 20) {
        result += numberWords[int(c) + 1];
        return;
    }
    const double t = std::floor(c / 10);
    result += numberWords[int(t) + 19];
    const double u = c - 10 * t;
    // "ventuno", "ventotto": the tens word loses its vowel before a vowel.
    if (u == 1 || u == 8)
        result.chop(1);
    result += numberWords[int(u) + 1];
}

} // namespace

QString numlett(double n)
{
    QString result;
    // Past the billions the groups would index beyond the word table; no caller gets there.
    if (!(n < 1e12))
        return result;
    for (int i = 3; i >= 0; --i) {
        const double scale = std::pow(1000.0, i);
        const double g = std::floor(n / scale);
        if (!(g > 0))
            continue;
        appendGroup(result, g);
        switch (i) {
        case 1:
            if (g == 1) {
                result.chop(3);
                result += QStringLiteral("mille");
            } else {
                result += QStringLiteral("mila");
            }
            break;
        case 2:
            if (g == 1) {
                result.chop(3);
                result += QStringLiteral("unmilione");
            } else {
                result += QStringLiteral("milioni");
            }
            break;
        case 3:
            if (g == 1)
                result = QStringLiteral("unmiliardo");
            else
                result += QStringLiteral("miliardi");
            break;
        default:
            break;
        }
        n -= g * scale;
    }
    return result;
}
