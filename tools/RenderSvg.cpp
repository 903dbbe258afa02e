// Build tool: renders an SVG file to a square PNG of the given side.
// Usage: furrow-render-svg INPUT.svg OUTPUT.png SIDE

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    bool sideOk = false;
    const int side = args.size() == 4 ? args[3].toInt(&sideOk) : 0;
    if (!sideOk || side <= 0) {
        std::fprintf(stderr, "usage: furrow-render-svg INPUT.svg OUTPUT.png SIDE\n");
        return 2;
    }
    QSvgRenderer svg(args[1]);
    if (!svg.isValid()) {
        std::fprintf(stderr, "furrow-render-svg: cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter, QRectF(0, 0, side, side));
    painter.end();
    if (!image.save(args[2])) {
        std::fprintf(stderr, "furrow-render-svg: cannot write %s\n", qPrintable(args[2]));
        return 1;
    }
    return 0;
}
