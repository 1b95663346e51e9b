#include "makePrivatePath.h"

#include <cerrno>
#include <sys/stat.h>

bool makePrivatePath(const QByteArray &path)
{
    struct stat st;
    if (::stat(path.constData(), &st) == 0) {
        errno = S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
        return errno == 0;
    }
    if (errno != ENOENT)
        return false;
    const qsizetype slash = path.lastIndexOf('/');
    if (slash > 0 && !makePrivatePath(path.left(slash)))
        return false;
    return ::mkdir(path.constData(), 0700) == 0 || (errno == EEXIST && makePrivatePath(path));
}
