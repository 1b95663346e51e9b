// Renders the program's SVG icon as the PNG sizes that menus and docks ask the
// icon theme for, so that no separate drawing tool is needed at build time.
//
//   render_icon ICON.svg OUTDIR NAME SIZE...   writes OUTDIR/SIZExSIZE/NAME.png

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 5) {
        std::fprintf(stderr, "uso: %s ICONA.svg CARTELLA NOME LATO...\n", argv[0]);
        return 1;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "%s: non è un SVG leggibile\n", argv[1]);
        return 1;
    }
    const QString outDir = QString::fromLocal8Bit(argv[2]);
    const QString name = QString::fromLocal8Bit(argv[3]);
    for (int i = 4; i < argc; ++i) {
        const int side = QByteArray(argv[i]).toInt();
        if (side <= 0) {
            std::fprintf(stderr, "%s: lato non valido\n", argv[i]);
            return 1;
        }
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        const QString dir = QStringLiteral("%1/%2x%2").arg(outDir).arg(side);
        const QString file = dir + u'/' + name + QStringLiteral(".png");
        if (!QDir().mkpath(dir) || !image.save(file)) {
            std::fprintf(stderr, "%s: non riesco a scriverlo\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
