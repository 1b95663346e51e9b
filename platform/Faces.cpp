#include "Faces.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

void Faces::install()
{
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial Black"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
}

QString Faces::resolve(const QString &face)
{
    if (QFontDatabase::hasFamily(face))
        return face;
    for (const QString &substitute : QFont::substitutes(face)) {
        if (QFontDatabase::hasFamily(substitute))
            return substitute;
    }
    // The slow search, once per face rather than once per font.
    return QFontInfo(QFont(face)).family();
}
