#pragma once

#include "Record.h"

#include <array>

namespace furrow {

// A coloured label that tasks may carry.
class Project final : public Record
{
public:
    struct PaletteColor
    {
        const char *name;
        const char *hex;
    };
    // The twelve colours new projects take in turn.
    static const std::array<PaletteColor, 12> &palette();
    static QString paletteHex(qsizetype index); // index taken modulo the palette size
    static inline const QString defaultColorHex = QStringLiteral("#E8622A");

    Project();
    Project(const QString &name, const QString &colorHex, qint64 order);

    RecordKind kind() const override { return RecordKind::Project; }

    const QUuid &id() const { return m_id; }
    const QString &name() const { return m_name; }
    const QString &colorHex() const { return m_colorHex; }
    qint64 order() const { return m_order; }
    Instant updatedAt() const override { return m_updatedAt; }
    const OptionalInstant &deletedAt() const { return m_deletedAt; }

    void setId(const QUuid &id);
    void setName(const QString &name);
    void setColorHex(const QString &colorHex);
    void setOrder(qint64 order);
    void setUpdatedAt(Instant updatedAt) override;
    void setDeletedAt(const OptionalInstant &deletedAt);

private:
    QUuid m_id;
    QString m_name;
    QString m_colorHex = defaultColorHex;
    qint64 m_order = 0;
    Instant m_updatedAt;
    OptionalInstant m_deletedAt;
};

} // namespace furrow
