#include "Record.h"

namespace furrow {

Record::~Record() = default;

QString idText(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

} // namespace furrow
