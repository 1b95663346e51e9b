#include "Csv.h"
#include "ResultsFolder.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

int usage()
{
    std::fputs("Uso: decalumo-registro --csv risposte|sfide [CARTELLA...]\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() < 2 || args.at(0) != QLatin1String("--csv"))
        return usage();
    const QString table = args.at(1);
    if (table != QLatin1String("risposte") && table != QLatin1String("sfide"))
        return usage();
    QStringList roots = args.mid(2);
    if (roots.isEmpty())
        roots.append(ResultsFolder::own());

    const ResultsFolder::Found found = ResultsFolder::gather(roots);
    for (const ResultsFolder::Skipped &s : found.skipped)
        std::fprintf(stderr, "Saltato %s: %s\n", qUtf8Printable(s.path), qUtf8Printable(s.reason));
    const QByteArray csv = table == QLatin1String("risposte") ? Csv::risposte(found.contests) : Csv::sfide(found.contests);
    if (std::fwrite(csv.constData(), 1, size_t(csv.size()), stdout) != size_t(csv.size()) || std::fflush(stdout) != 0) {
        std::perror("decalumo-registro");
        return 1;
    }
    return 0;
}
