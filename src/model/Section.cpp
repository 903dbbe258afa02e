#include "Section.h"

#include "Clock.h"
#include "RecordAssign.h"

namespace furrow {

Section::Section()
    : m_id(QUuid::createUuid())
    , m_updatedAt(Clock::now())
{}

Section::Section(const QString &name, Page *page, qint64 order)
    : Section()
{
    m_name = name;
    m_page = page;
    m_order = order;
    m_updatedAt = Clock::now();
}

void Section::setId(const QUuid &id)
{
    assign(&Section::m_id, id);
}

void Section::setName(const QString &name)
{
    assign(&Section::m_name, name);
}

void Section::setOrder(qint64 order)
{
    assign(&Section::m_order, order);
}

void Section::setUpdatedAt(Instant updatedAt)
{
    assign(&Section::m_updatedAt, updatedAt);
}

void Section::setDeletedAt(const OptionalInstant &deletedAt)
{
    assign(&Section::m_deletedAt, deletedAt);
}

void Section::setPage(Page *page)
{
    assign(&Section::m_page, page);
}

} // namespace furrow
