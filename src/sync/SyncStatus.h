#pragma once

#include "model/Instant.h"

#include <QMetaType>
#include <QString>

namespace furrow {

// What the sync engine last did, as the settings view shows it.
struct SyncStatus
{
    enum class Kind { Done, Failed, Off, Idle, Running };

    Kind kind = Kind::Off;
    Instant at{};     // Done: when the cycle completed
    qint64 count = 0; // Done: how many incoming records it applied
    QString message;  // Failed: the failure message

    static SyncStatus done(Instant at, qint64 count) { return {Kind::Done, at, count, {}}; }
    static SyncStatus failed(const QString &message) { return {Kind::Failed, {}, 0, message}; }
    static SyncStatus off() { return {Kind::Off, {}, 0, {}}; }
    static SyncStatus idle() { return {Kind::Idle, {}, 0, {}}; }
    static SyncStatus running() { return {Kind::Running, {}, 0, {}}; }

    bool operator==(const SyncStatus &other) const = default;
};

} // namespace furrow

Q_DECLARE_METATYPE(furrow::SyncStatus)
