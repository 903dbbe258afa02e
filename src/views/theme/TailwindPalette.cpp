#include "views/theme/TailwindPalette.h"

#include "model/Project.h"

namespace furrow::TailwindPalette {

const QList<Swatch> &swatches()
{
    // The store hands out the same colours to new projects; one table serves both.
    static const QList<Swatch> list = [] {
        QList<Swatch> result;
        for (const Project::PaletteColor &color : Project::palette())
            result.append({QString::fromLatin1(color.name), QString::fromLatin1(color.hex)});
        return result;
    }();
    return list;
}

std::optional<QString> name(const QString &hex)
{
    for (const Swatch &swatch : swatches()) {
        if (swatch.hex.compare(hex, Qt::CaseInsensitive) == 0)
            return swatch.name;
    }
    return std::nullopt;
}

} // namespace furrow::TailwindPalette
