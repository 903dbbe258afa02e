#include "Page.h"

#include "Clock.h"
#include "RecordAssign.h"

namespace furrow {

Page::Page()
    : m_id(QUuid::createUuid())
    , m_updatedAt(Clock::now())
{}

Page::Page(const QString &name, const QString &iconName, qint64 order)
    : Page()
{
    m_name = name;
    m_iconName = iconName;
    m_order = order;
    m_updatedAt = Clock::now();
}

void Page::setId(const QUuid &id)
{
    assign(&Page::m_id, id);
}

void Page::setName(const QString &name)
{
    assign(&Page::m_name, name);
}

void Page::setIconName(const QString &iconName)
{
    assign(&Page::m_iconName, iconName);
}

void Page::setOrder(qint64 order)
{
    assign(&Page::m_order, order);
}

void Page::setUpdatedAt(Instant updatedAt)
{
    assign(&Page::m_updatedAt, updatedAt);
}

void Page::setDeletedAt(const OptionalInstant &deletedAt)
{
    assign(&Page::m_deletedAt, deletedAt);
}

} // namespace furrow
