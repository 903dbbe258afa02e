#include "SyncBodyCoding.h"

#include "WireJson.h"

namespace furrow::SyncBodyCoding {

QByteArray encode(const SyncBody &body)
{
    return WireJson::dump(WireJson::fromBody(body));
}

SyncBody decode(QByteArrayView text)
{
    return WireJson::toBody(WireJson::parse(text), "body");
}

} // namespace furrow::SyncBodyCoding
