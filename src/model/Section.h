#pragma once

#include "Record.h"

namespace furrow {

class Page;

// A named lane on a page; tasks point to the section that holds them.
class Section final : public Record
{
public:
    Section();
    Section(const QString &name, Page *page, qint64 order);

    RecordKind kind() const override { return RecordKind::Section; }

    const QUuid &id() const { return m_id; }
    const QString &name() const { return m_name; }
    qint64 order() const { return m_order; }
    Instant updatedAt() const override { return m_updatedAt; }
    const OptionalInstant &deletedAt() const { return m_deletedAt; }
    Page *page() const { return m_page; }

    void setId(const QUuid &id);
    void setName(const QString &name);
    void setOrder(qint64 order);
    void setUpdatedAt(Instant updatedAt) override;
    void setDeletedAt(const OptionalInstant &deletedAt);
    void setPage(Page *page);

    bool isLive() const { return !m_deletedAt; }

private:
    QUuid m_id;
    QString m_name;
    qint64 m_order = 0;
    Instant m_updatedAt;
    OptionalInstant m_deletedAt;
    Page *m_page = nullptr;
};

} // namespace furrow
