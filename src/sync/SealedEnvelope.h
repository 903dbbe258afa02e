#pragma once

#include "sync/wire/SyncRecord.h"

#include <optional>

namespace furrow {

// Binds a sealed body to the envelope it travels in. The envelope (kind, id, change time,
// deletion flag) is not sealed, so a server could move a sealed body to another record or give
// it a later time or a tombstone flag; a copy of the envelope inside the sealed body shows
// that. The copy uses member names no record kind has, which a peer that does not know them
// ignores.
namespace SealedEnvelope {

// The body to seal: the record's body with its envelope added.
SyncBody bind(const SyncRecord &record);
// The record's own body from an opened one: without the envelope copy when it matches the
// record, unchanged when it carries none (sealed before bodies were bound, or by a peer that
// does not bind them). None when the copy is partial or names another envelope.
std::optional<SyncBody> unbind(const SyncRecord &record, SyncBody opened);

} // namespace SealedEnvelope
} // namespace furrow
