#include "views/theme/Icon.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>

#include <map>
#include <memory>

namespace furrow::Icon {

namespace {

struct SymbolEntry
{
    const char *symbol;
    const char *phosphor;
    const char *weight; // the artwork folder: "regular" or "fill"
};

// The one table from the symbol names views use to the Phosphor artwork that draws them.
constexpr SymbolEntry kSymbols[] = {
    {"sun.horizon", "sun-horizon", "regular"},
    {"chevron.left", "caret-left", "regular"},
    {"chevron.right", "caret-right", "regular"},
    {"chevron.down", "caret-down", "regular"},
    {"chevron.up", "caret-up", "regular"},
    {"arrow.up", "arrow-up", "regular"},
    {"arrow.down", "arrow-down", "regular"},
    {"xmark", "x", "regular"},
    {"xmark.circle.fill", "x-circle", "fill"},
    {"plus", "plus", "regular"},
    {"trash", "trash", "regular"},
    {"tray.and.arrow.down", "tray-arrow-down", "regular"},
    {"square.grid.2x2", "squares-four", "regular"},
    {"timer", "timer", "regular"},
    {"calendar", "calendar", "regular"},
    {"text.alignleft", "text-align-left", "regular"},
    {"ellipsis", "dots-three", "regular"},
    {"checkmark", "check", "regular"},
    {"pencil", "pencil-simple", "regular"},
    {"tag", "tag", "regular"},
    {"target", "target", "regular"},
    {"magnifyingglass", "magnifying-glass", "regular"},
    {"sidebar.leading", "sidebar-simple", "regular"},
    {"rectangle.compress.vertical", "arrows-in-line-vertical", "regular"},
    {"rectangle.expand.vertical", "arrows-out-line-vertical", "regular"},
    {"gearshape", "gear-six", "regular"},
    {"repeat", "repeat", "regular"},
};

constexpr const char *kPhIconSymbols[] = {
    "sun.horizon", "chevron.left", "chevron.right",       "chevron.down",
    "chevron.up",  "arrow.up",     "arrow.down",          "xmark",
    "plus",        "trash",        "tray.and.arrow.down", "square.grid.2x2",
    "timer",       "calendar",     "text.alignleft",      "ellipsis",
};

QSvgRenderer *renderer(const QString &resource)
{
    static std::map<QString, std::unique_ptr<QSvgRenderer>> renderers;
    auto &slot = renderers[resource];
    if (!slot && QFile::exists(resource))
        slot = std::make_unique<QSvgRenderer>(resource);
    return slot && slot->isValid() ? slot.get() : nullptr;
}

} // namespace

QString symbolName(PhIcon icon)
{
    return QString::fromLatin1(kPhIconSymbols[int(icon)]);
}

QStringList symbolNames()
{
    QStringList names;
    for (const SymbolEntry &entry : kSymbols)
        names.append(QString::fromLatin1(entry.symbol));
    return names;
}

QString symbolResource(const QString &symbol, Weight weight)
{
    for (const SymbolEntry &entry : kSymbols) {
        if (symbol != QLatin1String(entry.symbol))
            continue;
        const QString file = QString::fromLatin1(entry.phosphor) + QLatin1String(".svg");
        if (weight == Weight::Bold) {
            const QString bold = QStringLiteral(":/icons/bold/") + file;
            if (QFile::exists(bold))
                return bold;
        }
        return QStringLiteral(":/icons/") + QLatin1String(entry.weight) + u'/' + file;
    }
    return {};
}

QString pageIconResource(const QString &name)
{
    // A name from an imported file could hold a path; keep the lookup inside the icon folder.
    if (name.isEmpty() || name.contains(u'/'))
        return {};
    return QStringLiteral(":/icons/regular/") + name + QLatin1String(".svg");
}

QPixmap tinted(const QString &resource, qreal size, const QColor &color, qreal dpr)
{
    const int side = qCeil(size * dpr);
    if (resource.isEmpty() || side <= 0)
        return {};
    const QString key
        = QStringLiteral("furrow-icon|%1|%2|%3").arg(resource).arg(side).arg(color.rgba(), 8, 16);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap)) {
        pixmap.setDevicePixelRatio(dpr);
        return pixmap;
    }
    QSvgRenderer *svg = renderer(resource);
    if (!svg)
        return {};
    // The artwork draws in black; render its shape, then keep only the tint where it covers.
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg->render(&painter, QRectF(0, 0, side, side));
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color);
    painter.end();
    pixmap = QPixmap::fromImage(std::move(image));
    QPixmapCache::insert(key, pixmap);
    pixmap.setDevicePixelRatio(dpr);
    return pixmap;
}

QPixmap symbol(const QString &symbol, qreal size, const QColor &color, qreal dpr, Weight weight)
{
    return tinted(symbolResource(symbol, weight), size, color, dpr);
}

QPixmap symbol(PhIcon icon, qreal size, const QColor &color, qreal dpr)
{
    return symbol(symbolName(icon), size, color, dpr);
}

QPixmap pageIcon(const QString &name, qreal size, const QColor &color, qreal dpr)
{
    return tinted(pageIconResource(name), size, color, dpr);
}

namespace {

void paintCentred(QPainter &painter, const QRectF &rect, qreal size, const QPixmap &pixmap)
{
    if (pixmap.isNull())
        return;
    const QRectF target(rect.center().x() - size / 2, rect.center().y() - size / 2, size, size);
    // The pixmap's pixels rarely map one to one onto the target (rounding, scaled painters).
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(target, pixmap, QRectF(pixmap.rect()));
    painter.restore();
}

qreal ratioOf(const QPainter &painter)
{
    // A painter that scales (an animated popup) needs more pixels than the device ratio alone.
    const qreal scale = painter.worldTransform().m11();
    return painter.device()->devicePixelRatioF() * std::max<qreal>(1.0, scale);
}

} // namespace

void paintSymbol(QPainter &painter, const QRectF &rect, const QString &name, qreal size,
                 const QColor &color, Weight weight)
{
    paintCentred(painter, rect, size, symbol(name, size, color, ratioOf(painter), weight));
}

void paintPageIcon(QPainter &painter, const QRectF &rect, const QString &name, qreal size,
                   const QColor &color)
{
    paintCentred(painter, rect, size, pageIcon(name, size, color, ratioOf(painter)));
}

} // namespace furrow::Icon
