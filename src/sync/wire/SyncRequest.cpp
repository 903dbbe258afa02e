#include "SyncRequest.h"

#include "WireJson.h"

namespace furrow {

using nlohmann::json;

QByteArray SyncRequest::encode() const
{
    return WireJson::dump(json{{"device", WireJson::fromText(device)},
                               {"since", std::int64_t(since)},
                               {"changes", WireJson::fromRecords(changes)}});
}

SyncRequest SyncRequest::decode(QByteArrayView text)
{
    const json document = WireJson::parse(text);
    SyncRequest request;
    request.device = WireJson::textMember(document, "device");
    request.since = WireJson::integerMember(document, "since");
    request.changes = WireJson::recordsMember(document, "changes");
    return request;
}

} // namespace furrow
