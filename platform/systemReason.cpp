#include "systemReason.h"

#include <cerrno>
#include <cstring>
#include <locale.h>

QString systemReason(int errnum)
{
    switch (errnum) {
    case ENOSPC: return QStringLiteral("spazio esaurito");
    case EDQUOT: return QStringLiteral("quota del disco esaurita");
    case EACCES:
    case EPERM: return QStringLiteral("permesso negato");
    case ENOENT: return QStringLiteral("file o cartella inesistente");
    case ENOTDIR: return QStringLiteral("non è una cartella");
    case EISDIR: return QStringLiteral("è una cartella");
    case EROFS: return QStringLiteral("file system di sola lettura");
    case EFBIG: return QStringLiteral("file troppo grande");
    case ENAMETOOLONG: return QStringLiteral("nome troppo lungo");
    case EIO: return QStringLiteral("errore di lettura o scrittura sul disco");
    case ENOLCK: return QStringLiteral("il file system non permette di bloccare i file");
    }
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return QString::fromLocal8Bit(strerror_l(errnum, cLocale));
}
