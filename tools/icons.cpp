// Writes the program icon for the desktop's icon theme, from the same painting
// the window icon uses: PNGs at the theme's sizes and an SVG of the design.
//   orvanta_icons OUTDIR NAME  ->  OUTDIR/<n>x<n>/apps/NAME.png, OUTDIR/scalable/apps/NAME.svg
#include "app/Artwork.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUTDIR NAME\n", argv[0]);
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLocal8Bit(argv[2]);

    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1x%1/apps").arg(size);
        if (!out.mkpath(dir) || !programIcon(size).save(out.filePath(dir + "/" + name + ".png"))) {
            std::fprintf(stderr, "cannot write the %dx%d icon\n", size, size);
            return 1;
        }
    }

    out.mkpath("scalable/apps");
    QSvgGenerator svg;
    svg.setFileName(out.filePath("scalable/apps/" + name + ".svg"));
    svg.setSize(QSize(32, 32));
    svg.setViewBox(QRect(0, 0, 32, 32));
    svg.setTitle("Orvanta");
    QPainter p;
    if (!p.begin(&svg)) {
        std::fprintf(stderr, "cannot write the scalable icon\n");
        return 1;
    }
    paintProgramIcon(p);
    return p.end() ? 0 : 1;
}
