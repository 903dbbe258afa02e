#pragma once

#include "Record.h"

namespace furrow {

// A named board in the sidebar; its sections point to it.
class Page final : public Record
{
public:
    static inline const QString defaultIconName = QStringLiteral("house");

    Page();
    Page(const QString &name, const QString &iconName, qint64 order);

    RecordKind kind() const override { return RecordKind::Page; }

    const QUuid &id() const { return m_id; }
    const QString &name() const { return m_name; }
    const QString &iconName() const { return m_iconName; }
    qint64 order() const { return m_order; }
    Instant updatedAt() const override { return m_updatedAt; }
    const OptionalInstant &deletedAt() const { return m_deletedAt; }

    void setId(const QUuid &id);
    void setName(const QString &name);
    void setIconName(const QString &iconName);
    void setOrder(qint64 order);
    void setUpdatedAt(Instant updatedAt) override;
    void setDeletedAt(const OptionalInstant &deletedAt);

    bool isLive() const { return !m_deletedAt; }

private:
    QUuid m_id;
    QString m_name;
    QString m_iconName = defaultIconName;
    qint64 m_order = 0;
    Instant m_updatedAt;
    OptionalInstant m_deletedAt;
};

} // namespace furrow
