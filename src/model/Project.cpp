#include "Project.h"

#include "Clock.h"
#include "RecordAssign.h"

namespace furrow {

const std::array<Project::PaletteColor, 12> &Project::palette()
{
    static const std::array<PaletteColor, 12> colors{{
        {"Red", "#DC2626"},
        {"Orange", "#EA580C"},
        {"Brown", "#78350F"},
        {"Yellow", "#A16207"},
        {"Olive", "#4D7C0F"},
        {"Green", "#15803D"},
        {"Teal", "#0D9488"},
        {"Blue", "#2563EB"},
        {"Violet", "#7C3AED"},
        {"Fuchsia", "#C026D3"},
        {"Pink", "#DB2777"},
        {"Slate", "#475569"},
    }};
    return colors;
}

QString Project::paletteHex(qsizetype index)
{
    const auto size = qsizetype(palette().size());
    return QString::fromLatin1(palette()[std::size_t(((index % size) + size) % size)].hex);
}

Project::Project()
    : m_id(QUuid::createUuid())
    , m_updatedAt(Clock::now())
{}

Project::Project(const QString &name, const QString &colorHex, qint64 order)
    : Project()
{
    m_name = name;
    m_colorHex = colorHex;
    m_order = order;
    m_updatedAt = Clock::now();
}

void Project::setId(const QUuid &id)
{
    assign(&Project::m_id, id);
}

void Project::setName(const QString &name)
{
    assign(&Project::m_name, name);
}

void Project::setColorHex(const QString &colorHex)
{
    assign(&Project::m_colorHex, colorHex);
}

void Project::setOrder(qint64 order)
{
    assign(&Project::m_order, order);
}

void Project::setUpdatedAt(Instant updatedAt)
{
    assign(&Project::m_updatedAt, updatedAt);
}

void Project::setDeletedAt(const OptionalInstant &deletedAt)
{
    assign(&Project::m_deletedAt, deletedAt);
}

} // namespace furrow
