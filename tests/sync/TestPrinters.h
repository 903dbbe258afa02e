#pragma once

#include "sync/wire/SyncRecord.h"

#include <nlohmann/json.hpp>

#include <QString>

#include <ostream>

// Readable failure messages for texts and records.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace furrow {
inline void PrintTo(const SyncRecord &record, std::ostream *out)
{
    nlohmann::json json;
    record.toJson(json);
    *out << json.dump();
}
} // namespace furrow
