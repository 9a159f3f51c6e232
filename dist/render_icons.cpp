// Renders the program icon's SVG into the PNG sizes of the hicolor icon theme:
//   dualvex_render_icons ICON.svg OUTDIR SIZE...
// writes OUTDIR/<SIZE>x<SIZE>/apps/dualvex.png for each size.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s ICON.svg OUTDIR SIZE...\n", argv[0]);
        return 2;
    }
    // No display is needed to paint into an image; the offscreen platform keeps a
    // build machine without one working.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    const QString outDir = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size <= 0) return 2;
        QImage image(size, size, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(outDir).arg(size);
        if (!QDir().mkpath(dir) || !image.save(dir + QStringLiteral("/dualvex.png"), "PNG")) {
            std::fprintf(stderr, "%s: cannot write the %d pixel icon\n", argv[0], size);
            return 1;
        }
    }
    return 0;
}
