#include "OccurrenceId.h"

#include "model/Record.h"

using namespace Qt::StringLiterals;

namespace furrow::OccurrenceId {

namespace {

// Fixed for good: changing it would let devices of different versions create two records
// for one occurrence.
const QUuid kNamespace(u"fe85a5d7-525f-4e14-b162-c2741c82809f"_s);

} // namespace

QUuid of(const QUuid &series, QDate due)
{
    return QUuid::createUuidV5(kNamespace, idText(series) + u'/' + due.toString(u"yyyy-MM-dd"_s));
}

} // namespace furrow::OccurrenceId
