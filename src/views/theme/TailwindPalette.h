#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace furrow {

// The twelve project colours, shades of the Tailwind CSS palette, in the order new projects
// take them.
namespace TailwindPalette {

struct Swatch
{
    QString name;
    QString hex;
};

const QList<Swatch> &swatches();

// The name of the first swatch whose hex equals `hex`, ignoring case; none when none does.
std::optional<QString> name(const QString &hex);

} // namespace TailwindPalette
} // namespace furrow
