#include "Rendering.h"

#include "views/theme/Theme.h"

#include <QDir>
#include <QImage>
#include <QWidget>

QString saveRendering(QWidget *widget, const QString &name)
{
    constexpr qreal ratio = 2;
    QImage image(widget->size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(furrow::Theme::paper);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    const QString folder = QStringLiteral(FURROW_RENDERINGS_DIR);
    QDir().mkpath(folder);
    const QString path = folder + u'/' + name + QStringLiteral(".png");
    image.save(path);
    return path;
}
