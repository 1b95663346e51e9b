#include "Csv.h"
#include "ItalianToolkit.h"
#include "QtRegisterDialogs.h"
#include "RegisterWindow.h"
#include "ResultsFolder.h"

#include <QApplication>
#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

int usage()
{
    std::fputs("Uso: decalumo-registro [CARTELLA...]\n       decalumo-registro --csv risposte|sfide [CARTELLA...]\n", stderr);
    return 2;
}

int exportCsv(const QStringList &args)
{
    if (args.size() < 2)
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

} // namespace

int main(int argc, char *argv[])
{
    // The export needs no display: it runs over ssh and in scripts.
    if (argc > 1 && std::strcmp(argv[1], "--csv") == 0) {
        QCoreApplication app(argc, argv);
        return exportCsv(QCoreApplication::arguments().mid(1));
    }
    QApplication app(argc, argv);
    const QStringList folders = QCoreApplication::arguments().mid(1);
    if (std::any_of(folders.cbegin(), folders.cend(), [](const QString &f) { return f.startsWith(QLatin1Char('-')); }))
        return usage();
    ItalianToolkit::install(app);
    QtRegisterDialogs dialogs;
    RegisterWindow window(dialogs, folders, QDate::currentDate());
    dialogs.setParent(&window);
    window.show();
    return app.exec();
}
