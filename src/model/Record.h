#pragma once

#include "Instant.h"

#include <QFlags>
#include <QString>
#include <QUuid>

#include <algorithm>
#include <memory>

namespace furrow {

class ModelContext;

enum class RecordKind : quint8 {
    Task = 0x01,
    Project = 0x02,
    Page = 0x04,
    Section = 0x08,
    DayPlan = 0x10,
};
Q_DECLARE_FLAGS(RecordKinds, RecordKind)
Q_DECLARE_OPERATORS_FOR_FLAGS(RecordKinds)

// Canonical upper-case 8-4-4-4-12 text of an identifier.
QString idText(const QUuid &id);

// Order keys that arrive from a document or another device are held within ±2^53: integers
// that every device's JSON numbers keep exactly, and far enough from the limits of qint64 that
// a key one past the largest (or below the smallest) never overflows and never wraps to the
// other end. Keys made here may step a little beyond the bound; only foreign ones are clamped.
constexpr qint64 kOrderLimit = qint64(1) << 53;
constexpr qint64 clampedOrder(qint64 order)
{
    return std::clamp(order, -kOrderLimit, kOrderLimit);
}

// Base of the five persistent record types. A record belongs to at most one ModelContext; while
// it does, every field write goes through assign(), which tells the context so that the change
// is saved, can be undone and refreshes the views.
class Record : public std::enable_shared_from_this<Record>
{
public:
    Record(const Record &) = delete;
    Record &operator=(const Record &) = delete;
    virtual ~Record();

    virtual RecordKind kind() const = 0;
    // Every record carries the time of its last change, which merges compare.
    virtual Instant updatedAt() const = 0;
    virtual void setUpdatedAt(Instant updatedAt) = 0;

    // The context that holds this row, or null before insertion and after removal.
    ModelContext *context() const { return m_context; }
    // The row's position key in its context: unique per kind, ascending in insertion order.
    qint64 rowKey() const { return m_rowKey; }

    // Whether the row is known beyond this desk: it was sent to a sync server or came from
    // one. Undo then never takes it out of the context silently. Not stored: undo history
    // does not outlive the process either.
    bool isShared() const { return m_shared; }
    void markShared() { m_shared = true; }

protected:
    Record() = default;

    // Writes one field; a write of an equal value is no change. Defined in RecordAssign.h.
    template<class Self, class T>
    void assign(T Self::*field, T value);

private:
    friend class ModelContext;

    ModelContext *m_context = nullptr;
    qint64 m_rowKey = 0;
    bool m_unsaved = false;
    bool m_shared = false;
};

} // namespace furrow
