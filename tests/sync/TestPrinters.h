#pragma once

#include "QtPrinters.h"
#include "sync/wire/SyncRecord.h"

#include <nlohmann/json.hpp>

#include <ostream>

// Readable failure messages for records.
namespace furrow {
inline void PrintTo(const SyncRecord &record, std::ostream *out)
{
    nlohmann::json json;
    record.toJson(json);
    *out << json.dump();
}
} // namespace furrow
