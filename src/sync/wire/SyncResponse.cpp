#include "SyncResponse.h"

#include "WireJson.h"

namespace furrow {

using nlohmann::json;

QByteArray SyncResponse::encode() const
{
    return WireJson::dump(json{{"seq", std::int64_t(seq)},
                               {"accepted", std::int64_t(accepted)},
                               {"more", more},
                               {"changes", WireJson::fromRecords(changes)}});
}

SyncResponse SyncResponse::decode(QByteArrayView text)
{
    const json document = WireJson::parse(text);
    SyncResponse response;
    response.seq = WireJson::integerMember(document, "seq");
    response.accepted = WireJson::integerMember(document, "accepted");
    response.more = WireJson::flagMember(document, "more");
    response.changes = WireJson::recordsMember(document, "changes");
    return response;
}

} // namespace furrow
