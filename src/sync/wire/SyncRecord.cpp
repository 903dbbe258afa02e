#include "SyncRecord.h"

#include "WireJson.h"

namespace furrow {

using nlohmann::json;

void SyncRecord::toJson(json &out) const
{
    out = json{{"kind", WireJson::fromText(kind)},
               {"id", WireJson::fromText(id)},
               {"updatedAt", std::int64_t(updatedAt)},
               {"deleted", deleted},
               {"body", WireJson::fromBody(body)}};
}

SyncRecord SyncRecord::fromJson(const json &in)
{
    SyncRecord record;
    record.kind = WireJson::textMember(in, "kind");
    record.id = WireJson::textMember(in, "id");
    record.updatedAt = WireJson::integerMember(in, "updatedAt");
    record.deleted = WireJson::flagMember(in, "deleted");
    const json &body = WireJson::translated([&]() -> const json & { return in.at("body"); });
    record.body = WireJson::toBody(body, "member 'body'");
    return record;
}

} // namespace furrow
