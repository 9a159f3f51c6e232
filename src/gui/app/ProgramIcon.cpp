#include "gui/app/ProgramIcon.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// The resource lives in a static library, whose unreferenced objects the linker
// drops: naming its initialiser keeps it. The macro works only outside namespaces.
static void InitProgramIconResource()
{
    Q_INIT_RESOURCE(dualvex);
}

namespace dualvex {

namespace {
constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
}

QIcon ProgramIcon()
{
    static const QIcon icon = [] {
        InitProgramIconResource();
        QSvgRenderer renderer(QStringLiteral(":/dualvex.svg"));
        QIcon built;
        for (const int size : kSizes) {
            QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            renderer.render(&painter);
            painter.end();
            built.addPixmap(QPixmap::fromImage(image));
        }
        return built;
    }();
    return icon;
}

} // namespace dualvex
