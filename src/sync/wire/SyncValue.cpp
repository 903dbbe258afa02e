#include "SyncValue.h"

#include "WireJson.h"

namespace furrow {

using nlohmann::json;

void SyncValue::toJson(json &out) const
{
    switch (kind()) {
    case Kind::Text:
        out = WireJson::fromText(asText());
        return;
    case Kind::Number:
        out = std::int64_t(asNumber());
        return;
    case Kind::Flag:
        out = asFlag();
        return;
    case Kind::Blank:
        out = nullptr;
        return;
    }
}

SyncValue SyncValue::fromJson(const json &in)
{
    if (in.is_null())
        return blank();
    if (in.is_boolean())
        return flag(in.get<bool>());
    if (const auto number = WireJson::exactInteger(in))
        return SyncValue::number(*number);
    // Whatever is left must be a string; otherwise the string attempt's error is the answer.
    return text(
        WireJson::translated([&] { return QString::fromStdString(in.get<std::string>()); }));
}

} // namespace furrow
