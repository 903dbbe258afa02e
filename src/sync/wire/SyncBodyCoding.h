#pragma once

#include "SyncValue.h"

#include <QByteArray>

namespace furrow {

// The JSON text of a record body on its own: what is sealed, and what opening yields.
namespace SyncBodyCoding {

QByteArray encode(const SyncBody &body);
// A JSON object of member names to values; throws SyncWireError otherwise.
SyncBody decode(QByteArrayView json);

} // namespace SyncBodyCoding
} // namespace furrow
